#include "ui/sheets/PTSheetStack.h"

#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTStackView.h"

namespace PTSheetStack {

void arrange(PTStackView* stack, const std::vector<QWidget*>& views)
{
    auto* separator = new PTPanelSeparator;
    separator->setSoften(true);
    stack->setSpacerView(separator);
    stack->setSpacing(0);
    stack->setSpacerViewHandler([](QWidget* spacer, QWidget*, int gap) {
        static_cast<PTPanelSeparator*>(spacer)->setIsTitleBar(gap == 0);
    });
    stack->setAutoresizesSuperview(true);
    stack->setAutoresizesWindow(true);
    stack->setViews(views);
}

} // namespace PTSheetStack
