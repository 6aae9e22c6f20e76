#include "platform/ui/SheetHost.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace pt {

namespace {

// Keeps a sheet under its parent while the parent moves or resizes, and detaches it when either goes away.
class Attachment;

QHash<const QWidget*, QPointer<QWidget>>& sheetsByWindow()
{
    static QHash<const QWidget*, QPointer<QWidget>> sheets;
    return sheets;
}

QHash<const QWidget*, Attachment*>& attachmentsBySheet()
{
    static QHash<const QWidget*, Attachment*> attachments;
    return attachments;
}

class Attachment : public QObject {
public:
    Attachment(QWidget* parent, QWidget* sheet, SheetHost::Completion completion)
        : QObject(sheet), parent_(parent), sheet_(sheet), completion_(std::move(completion))
    {
        parent->installEventFilter(this);
        attachmentsBySheet().insert(sheet, this);
        sheetsByWindow().insert(parent, sheet);
        // A sheet on a sheet takes its place: the one beneath steps out of sight, with all it holds, until the
        // sheet on it ends (begin() hides it once the new sheet has the keys).
        coversSheet_ = attachmentsBySheet().contains(parent) && parent->isVisible();
    }
    ~Attachment() override
    {
        attachmentsBySheet().remove(sheetKey_);
        if (parent_) {
            parent_->removeEventFilter(this);
            if (sheetsByWindow().value(parent_) == sheetKey_)
                sheetsByWindow().remove(parent_);
            if (coversSheet_ && attachmentsBySheet().contains(parent_))
                parent_->show();
        }
    }

    QWidget* parentWindow() const { return parent_; }
    bool coversSheet() const { return coversSheet_; }
    SheetHost::Completion takeCompletion() { return std::exchange(completion_, {}); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent_ && sheet_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            SheetHost::place(parent_, sheet_);
        return false;
    }

private:
    QPointer<QWidget> parent_;
    QPointer<QWidget> sheet_;
    const QWidget* sheetKey_ = sheet_.data();
    SheetHost::Completion completion_;
    bool coversSheet_ = false;
};

Attachment* attachmentOf(const QWidget* sheet)
{
    return attachmentsBySheet().value(sheet);
}

bool compositorPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Whether the keys are with the window, or on their way between windows of this application: a sheet that ended a
// moment ago handed them on, and the desktop has not said where they arrived yet.
bool hasKeys(const QWidget* window)
{
    const QWidget* active = QApplication::activeWindow();
    return active == window ||
           (QGuiApplication::applicationState() == Qt::ApplicationActive && (!active || active->isHidden()));
}

// Hands the keys from the window to the one that takes its place. Asked while the window still has them: desktops
// that keep other applications from taking the keys let them pass between windows of one application, but once
// the window has gone they give them to whatever had them before, often another application.
void handKeys(QWidget* from, QWidget* to)
{
    if (to && hasKeys(from))
        to->activateWindow();
}

} // namespace

void SheetHost::begin(QWidget* parent, QWidget* sheet, Completion completion)
{
    Q_ASSERT(parent && sheet);
    if (attachmentOf(sheet))
        end(sheet, 0);
    // A window has one sheet: a further one goes on the deepest sheet already there.
    QWidget* window = parent->window();
    while (QWidget* attached = attachedSheet(window))
        window = attached;
    // Transient for the parent: stays above it and goes with it.
    sheet->setParent(window, sheet->windowFlags() | Qt::Window);
    sheet->setWindowModality(Qt::WindowModal);
    const Attachment* attachment = new Attachment(window, sheet, std::move(completion));
    sheet->adjustSize();
    place(window, sheet);
    sheet->show();
    sheet->raise();
    sheet->activateWindow();
    if (attachment->coversSheet())
        window->hide();
}

void SheetHost::end(QWidget* sheet, int code)
{
    Attachment* attachment = attachmentOf(sheet);
    if (!attachment)
        return;
    Completion completion = attachment->takeCompletion();
    QWidget* below = attachment->parentWindow();
    // Shows the sheet it covered, if any.
    delete attachment;
    handKeys(sheet, below);
    sheet->hide();
    if (completion)
        completion(code);
}

QWidget* SheetHost::attachedSheet(const QWidget* window)
{
    return window ? sheetsByWindow().value(window).data() : nullptr;
}

QWidget* SheetHost::parentOfSheet(const QWidget* sheet)
{
    const Attachment* attachment = attachmentOf(sheet);
    return attachment ? attachment->parentWindow() : nullptr;
}

void SheetHost::place(QWidget* parent, QWidget* sheet)
{
    if (compositorPlacesWindows())
        return;
    const QRect area = parent->geometry();
    // Client geometry on both sides: window frames do not count.
    sheet->setGeometry(QRect(QPoint(area.x() + (area.width() - sheet->width()) / 2, area.y()), sheet->size()));
}

} // namespace pt
