#pragma once

#include "platform/win32/SystemErrorText.h"
