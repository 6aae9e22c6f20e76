// The yardstick of the start-up benchmark: the least a Qt window with three columns costs. It prints
// "first-paint" once its middle column has painted, then quits, as pictern does under PICTERN_REPORT_FIRST_PAINT.
#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QSplitter>
#include <QTextStream>
#include <QTimer>

namespace {

class Middle : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        if (painted_)
            return;
        painted_ = true;
        QTimer::singleShot(0, [] {
            QTextStream(stdout) << "first-paint 0" << Qt::endl;
            QCoreApplication::quit();
        });
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* split = new QSplitter;
    split->addWidget(new QWidget);
    split->addWidget(new Middle);
    split->addWidget(new QWidget);
    split->setSizes({222, 656, 222});
    window.setCentralWidget(split);
    window.resize(1100, 700);
    window.show();
    return QApplication::exec();
}
