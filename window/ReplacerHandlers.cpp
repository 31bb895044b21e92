#include "window/ReplacerHandlers.h"

namespace tarvolen {

void Command1_Click(ReplacerContext& context) { (void)context; }

void cmdBrowse_Click(ReplacerContext& context, std::int16_t Index) {
    (void)context;
    (void)Index;
}

}  // namespace tarvolen
