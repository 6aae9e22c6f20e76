#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSplitter>

// The main window's three columns: sets, grid and inspector. Only the grid column absorbs a window resize, no
// column collapses by dragging, and the dividers keep the side columns within their limits. A side column can be
// hidden and shown again at its width; the grid column gives and takes the room. The widths and which side
// columns are hidden persist in the defaults.
class PTSplitViewController : public QObject {
    Q_OBJECT
public:
    static inline const QString AutosaveKey = QStringLiteral("NSSplitView Subview Frames PTSplitViewFrame");
    static constexpr int SetsColumn = 0;
    static constexpr int GridColumn = 1;
    static constexpr int InspectorColumn = 2;
    static constexpr int SetsStartWidth = 222;
    static constexpr int SetsMinWidth = 150;
    static constexpr int SetsMaxWidth = 330;
    static constexpr int InspectorStartWidth = 222;
    static constexpr int InspectorMinWidth = 222;
    static constexpr int InspectorMaxWidth = 330;

    explicit PTSplitViewController(QObject* parent = nullptr);
    ~PTSplitViewController() override;

    QSplitter* view() const { return view_; }
    // Fills the columns (index 0 sets, 1 grid, 2 inspector); the splitter owns them.
    void setColumns(QWidget* sets, QWidget* grid, QWidget* inspector);
    // Puts the dividers where the defaults say, or at the first-run widths, and hides the columns they hid.
    void restore();

    bool isColumnHidden(int index) const;
    void setColumnHidden(int index, bool hidden);

private:
    void save();

    // The window owns it once it shows it.
    QPointer<QSplitter> view_;
    // The width each column had when last shown: a hidden column comes back at it and is saved with it.
    QList<int> widths_;
    bool restoring_ = false;
};
