#pragma once

#include <QColor>
#include <QWidget>

#include <memory>

class PTSVG;

// Shows one document fitted and centred in its bounds, drawn at the screen's device pixel ratio. A tint colour
// becomes the document's fill override.
class PTSVGView : public QWidget {
    Q_OBJECT

public:
    explicit PTSVGView(QWidget* parent = nullptr);
    explicit PTSVGView(std::shared_ptr<PTSVG> svg, QWidget* parent = nullptr);
    // A view of the application resource of that name; it shows nothing when there is none.
    static PTSVGView* viewWithSVGNamed(const QString& name, QWidget* parent = nullptr);
    ~PTSVGView() override;

    const std::shared_ptr<PTSVG>& svg() const { return svg_; }
    void setSVG(std::shared_ptr<PTSVG> svg);
    QString imageName() const { return imageName_; }
    // Loads the named resource as the document (with the tint applied).
    void setImageName(const QString& name);
    QColor tintColor() const { return tintColor_; }
    void setTintColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString imageName_;
    QColor tintColor_;
    std::shared_ptr<PTSVG> svg_;
};
