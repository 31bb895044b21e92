#ifndef TARVOLEN_RESOURCE_H
#define TARVOLEN_RESOURCE_H

/* Icon group shown in the title bar, taskbar and Explorer. */
#define IDI_TARVOLEN 1

#endif
