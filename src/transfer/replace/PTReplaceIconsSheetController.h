#pragma once

#include "library/ImportTyping.h"
#include "platform/store/ObjectID.h"
#include "transfer/import/PTImporter2.h"
#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTSheet.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class PTItem;
class PTProgressSheet;
class PTStoredFileMove;
class PTReplaceIconTableViewCellController;
class PTSheetViewTitleBarController;
class QPushButton;
class QScrollArea;
class QWidget;

// Replaces the files of items while they keep their name, set, description, licence and tags. "Replace Icons"
// pairs each item with a file chosen by browsing or dropping (one item: a file dialog instead of the sheet). The
// chosen files are imported into a temporary set; each new file is then moved under its old item, which takes
// the new file's type, date, code point and size and merges in its tags; the temporary objects and their folder
// go. Files that gave no item, or that could not be moved in, are listed under "File Issues". Main thread only.
class PTReplaceIconsSheetController : public QObject {
    Q_OBJECT
public:
    // Every file type the file dialog offers, one item per file: no expansion, no folders.
    static constexpr PTImportOptions ImportOptions = 0x53F8;
    static inline const QString Title = QStringLiteral("Replace Icons");
    static inline const QString SubTitle = QStringLiteral(
        "Replacing icons will preserve any custom meta data. Any new data will be merged when applicable.");
    static inline const QString ProgressTitle = QStringLiteral("Replacing Icons...");
    static inline const QString CompleteTitle = QStringLiteral("Replacement Complete");
    static inline const QString PanelPrompt = QStringLiteral("Replace");
    // The progress sheet shows its last title this long before it goes, in seconds.
    static constexpr double CompleteLingerSeconds = 1.0;
    // The list shows this many rows at most before it scrolls, at this height.
    static constexpr int MaximumUnscrolledRows = 6;
    static constexpr double ScrolledRows = 5.5;

    using Completion = std::function<void(const QVector<PTItem*>& replaced)>;

    // Presents the replacement for the items on the window; the completion gets the items whose files were
    // replaced (none after a cancel, or at once without items). The controller lives until then.
    static void presentForItems(const QVector<PTItem*>& items, QWidget* window, Completion completion);

    explicit PTReplaceIconsSheetController(const QVector<PTItem*>& items, QObject* parent = nullptr);
    ~PTReplaceIconsSheetController() override;

    void setCompletionHandler(Completion completion) { completion_ = std::move(completion); }
    // Several items: attaches the sheet to the window. One item: asks for its file and replaces it at once.
    void presentSheetFromWindow(QWidget* window);
    // Replaces the files of the enabled rows that have one.
    void performReplace();
    // Closes the sheet; reports no replacement unless one was performed.
    void cancel();

    // Announces replaced items (PTBrowserTransfer::ItemsWereReplacedNotification), as every replacement that
    // replaced any does before its completion runs.
    static void postNotification(const QVector<PTItem*>& items);

    // Moves the new item's file under the old item, named uniquely in its set's folder, then hands over the new
    // item's attributes and tags. The old file goes once the save `move` starts has stored that; when that save
    // fails, the old item gets its fields back and keeps its old file. Answers why not when the file could not be
    // moved in; the old item and its file are then as they were.
    static std::optional<QString> replaceItem(PTItem* oldItem, PTItem* newItem, PTStoredFileMove& move);

    // "Select Icons", "Replace Icon", "Replace N Icons".
    static QString replaceButtonLabelForCount(int count);
    // The rows' full height, or five and a half rows when more than six would show.
    static int listHeightForRowCount(int count);

    const QVector<PTItem*>& items() const { return items_; }
    const QVector<PTReplaceIconTableViewCellController*>& rows() const { return rows_; }
    PTSheet* window() const { return sheet_; }
    QScrollArea* scrollArea() const { return scrollArea_; }
    QPushButton* replaceButton() const { return replaceButton_; }

private:
    void buildSheet();
    void updateTableBackground();
    void updateReplaceButton();
    void importFinished(const std::shared_ptr<PTImporter2>& importer, const PTImporter2::Result& result);
    // The save of the replacements ended: a refused one lists their files under "File Issues" and replaces none.
    void replacementsSaved(bool stored, const QVector<std::pair<QString, pt::store::ObjectID>>& replaced);
    void finish(const QVector<pt::store::ObjectID>& replaced);

    QVector<PTItem*> items_;
    QVector<PTReplaceIconTableViewCellController*> rows_;
    QPointer<QWidget> parentWindow_;
    QPointer<PTSheet> sheet_;
    PTSheetViewTitleBarController* titleBar_ = nullptr;
    QWidget* table_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    std::shared_ptr<PTProgressSheet> progress_;
    // Per imported file, the items it replaces, in row order.
    QVector<std::pair<QString, pt::store::ObjectID>> pending_;
    QVector<PTImporter2::Rejected> issues_;
    pt::store::ObjectID temporarySet_;
    QString temporaryFolder_;
    bool performed_ = false;
    Completion completion_;
    PTAppearanceObserver appearanceObserver_;
};
