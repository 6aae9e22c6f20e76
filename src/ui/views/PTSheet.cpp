#include "ui/views/PTSheet.h"

namespace {

Qt::WindowFlags sheetFlags(Qt::WindowFlags flags)
{
    return (flags & ~Qt::WindowType_Mask) | Qt::Dialog | Qt::FramelessWindowHint;
}

} // namespace

PTSheet::PTSheet(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, sheetFlags(flags))
{
    setAccessibleName(QStringLiteral("Sheet"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

