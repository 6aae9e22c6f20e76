#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <vector>

class QMenu;

// The picker's swatch grid: a no-colour cell, the saved colours and an add cell, 16-point cells 8 apart. The
// colours live in "<identifier>.ptcolors" in the current library's "Swatches" folder; a library without that file
// starts with a built-in palette. A file that cannot be read is kept: it is moved aside before the first write.
class PTColorBlockView : public QWidget {
    Q_OBJECT
public:
    using ClickHandler = std::function<void(const QColor& color)>;
    using NewColorHandler = std::function<QColor()>;

    static const QString kArchiveIdentifier;
    static const QString kRemoveTitle;

    // An empty folder means the current library's swatches folder.
    explicit PTColorBlockView(QWidget* parent = nullptr, const QString& archiveFolder = QString());

    const std::vector<QColor>& colors() const { return m_colors; }
    // Keeps the first of each colour; neither resizes nor writes.
    void setColors(const std::vector<QColor>& colors);
    // Adds the colour (as device RGB) unless present, then writes the file.
    void addColor(const QColor& color);
    void removeColor(const QColor& color);
    void setClickHandler(ClickHandler handler) { m_clickHandler = std::move(handler); }
    void setNewColorHandler(NewColorHandler handler) { m_newColorHandler = std::move(handler); }
    QString archiveFile() const { return m_archiveFile; }

    static const std::vector<QColor>& defaultColors();
    // Grid geometry for a view of the width holding `colorCount` colours (cells: none, colours, add).
    static int numberOfColumns(qreal width);
    static int numberOfRows(int colorCount, int columns);
    static QRect rectForIndex(int index, int columns);
    static int heightFor(int colorCount, qreal width);
    // The cell under the point, or -1.
    int indexForPoint(QPoint point) const;
    QString toolTipForPoint(QPoint point) const;
    // The "Remove" menu of a colour cell; null elsewhere. The caller owns it.
    QMenu* menuForPoint(QPoint point);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void unarchive();
    void archive();
    void moveUnreadableFileAside();
    void recalculateFrame();
    int addIndex() const { return int(m_colors.size()) + 1; }

    std::vector<QColor> m_colors;
    ClickHandler m_clickHandler;
    NewColorHandler m_newColorHandler;
    QString m_archiveFile;
    bool m_unreadable = false;
};
