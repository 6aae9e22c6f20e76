#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class PTStackView;
class QLabel;
class QToolButton;
class QWidget;

// A titled section of a sheet that the user folds away: a header with the title and a toggle (a click anywhere on
// the header folds or unfolds it) above a content stack that the sheet fills. Whether it is folded is remembered
// under "sheet.segment.<identifier>"; restoring the state never writes it back, only the user's toggle does.
class PTSheetSegmentController : public QObject {
    Q_OBJECT
public:
    static inline const QString DefaultsKeyFormat = QStringLiteral("sheet.segment.%1");

    // autoExpand: the state while nothing is stored (expanded, or folded when false).
    explicit PTSheetSegmentController(const QString& identifier, bool autoExpand = true, QObject* parent = nullptr);
    ~PTSheetSegmentController() override;

    // The whole section, for the sheet to arrange; the stack view is what the sheet fills.
    QWidget* view() const { return view_; }
    PTStackView* stackView() const { return stackView_; }
    QString identifier() const { return identifier_; }
    QString title() const;
    void setTitle(const QString& title);
    bool collapsible() const { return collapsible_; }
    // Without a header the section keeps its state and ignores toggles.
    void setCollapsible(bool collapsible);
    bool isCollapsed() const { return collapsed_; }
    QToolButton* toggleButton() const { return toggleButton_; }

    QString defaultsKey() const;
    void toggle();
    void expand();
    void collapse();
    void reloadFromDefaults();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A section whose state lives under keyFormat (filled with the identifier) and whose whole view is
    // mainView (the section takes it).
    PTSheetSegmentController(const QString& identifier, const QString& keyFormat, PTStackView* mainView,
                             bool autoExpand, QObject* parent);

private:
    void apply(bool collapsed);

    QString identifier_;
    QString keyFormat_;
    QPointer<QWidget> view_;
    QWidget* headerView_ = nullptr;
    QLabel* titleField_ = nullptr;
    QToolButton* toggleButton_ = nullptr;
    PTStackView* stackView_ = nullptr;
    bool collapsible_ = true;
    bool collapsed_ = false;
    bool ignorePropagation_ = false;
    bool headerPressed_ = false;
};
