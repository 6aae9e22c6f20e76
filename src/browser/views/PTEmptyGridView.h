#pragma once

#include "ui/views/PTBackgroundView.h"

#include <QUrl>

class QLabel;
class QMimeData;
class QPushButton;

namespace pt {
class CommandHandler;
}

// What the grid shows in its place when nothing passes: a placeholder in the grid's background colour with a
// title, a line of text and the buttons of its kind. The set placeholder takes dropped icon files and opens the
// add-icons sheet with them.
class PTEmptyGridView : public PTBackgroundView {
    Q_OBJECT
public:
    // A search found nothing; the filter hides every icon; the sets hold no icons.
    enum class Kind { Search, Filter, Collection };
    // The commands of the buttons.
    static const QString AddIconsCommand;    // "addIconsFromSender:"
    static const QString ClearFiltersCommand; // "clearFilters:"
    static const QString BrowseFreebiesCommand; // "browseFreebies:"

    // The buttons send their commands to the handler, which also enables them.
    PTEmptyGridView(Kind kind, pt::CommandHandler* handler, QWidget* parent = nullptr);
    Kind kind() const { return kind_; }

    bool allowsDragging() const { return allowsDragging_; }
    void setAllowsDragging(bool allows);
    void updateAppearance();
    // Enables each button as its command validates, and hides those whose command the handler does not answer.
    void validateButtons();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* addButton(const QString& title, const QString& command);
    // The dropped files the importer takes.
    static QList<QUrl> acceptedURLs(const QMimeData* data);

    Kind kind_;
    pt::CommandHandler* handler_;
    bool allowsDragging_ = false;
    QVector<QPushButton*> buttons_;
    PTAppearanceObserver appearanceObserver_{this, &PTEmptyGridView::updateAppearance};
};
