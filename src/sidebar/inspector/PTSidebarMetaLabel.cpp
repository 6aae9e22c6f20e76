#include "sidebar/inspector/PTSidebarMetaLabel.h"

#include "ui/theme/PTStyles.h"

PTSidebarMetaLabel::PTSidebarMetaLabel(const QString& text, QWidget* parent) : PTTitleLabel(text, parent)
{
    setFont(PTStyles::systemFont(11));
    setDefaultTextColors(QColor(0, 0, 0, 128), QColor(255, 255, 255, 204));
}
