#pragma once

#include <vector>

class PTStackView;
class QWidget;

namespace PTSheetStack {

// Arranges a sheet's parts top to bottom in its stack: softened one-point separators between them (the first,
// under the title band, drawn as a title-bar line), no other spacing, and the stack sizing its sheet and window.
void arrange(PTStackView* stack, const std::vector<QWidget*>& views);

} // namespace PTSheetStack
