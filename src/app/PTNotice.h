#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// One notice of the toolbar's notices popover: a title, a message, an image, and what a click does. A persistent
// notice is listed only while canDisplay holds.
class PTNotice : public QObject {
    Q_OBJECT
public:
    explicit PTNotice(QObject* parent = nullptr);

    QString title() const { return title_; }
    void setTitle(const QString& title);
    QString message() const { return message_; }
    void setMessage(const QString& message);
    QImage image() const { return image_; }
    void setImage(const QImage& image) { image_ = image; }
    bool canDisplay() const { return canDisplay_; }
    void setCanDisplay(bool canDisplay);
    bool persistant() const { return persistant_; }
    void setPersistant(bool persistant) { persistant_ = persistant; }
    void setClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

    // The panel shown in the popover; made anew for each showing, owned by the caller.
    QWidget* makeView(QWidget* parent);
    void noticeWasClicked();

signals:
    void canDisplayChanged(bool canDisplay);
    void changed();

private:
    QString title_;
    QString message_;
    QImage image_;
    bool canDisplay_ = true;
    bool persistant_ = false;
    std::function<void()> clickHandler_;
};
