#pragma once

#include <QObject>
#include <QSplitter>

// The main window's three columns: sets, grid and inspector. Only the grid column absorbs a window resize, no
// column collapses, the dividers keep the side columns within their limits, and the widths persist in the
// defaults.
class PTSplitViewController : public QObject {
    Q_OBJECT
public:
    static inline const QString AutosaveKey = QStringLiteral("NSSplitView Subview Frames PTSplitViewFrame");
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
    // Puts the dividers where the defaults say, or at the first-run widths.
    void restore();

private:
    void save();

    QSplitter* view_;
    bool restoring_ = false;
};
