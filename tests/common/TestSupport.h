#pragma once

#include <QImage>
#include <QString>
#include <QVariant>
#include <QTemporaryDir>

#include <functional>
#include <ostream>

namespace pt::test {

// Runs the main queue (the Qt event loop) until the condition holds or the timeout passes; answers whether it
// held. Use with ASSERT_TRUE so that a test that would wait forever fails instead.
bool runMainQueueUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Runs the main queue for a while, for checking that something does not happen.
void runMainQueueFor(int milliseconds);

// Runs the body in a forked child whose address space may grow by at most extraBytes and which is killed after
// the given seconds, for code that may exhaust the memory or block: a failure never takes the test executable
// down. Answers the body's result (0 for success), or 128 + the number of the signal that ended the child.
int runInBoundedChild(qint64 extraBytes, unsigned seconds, const std::function<int()>& body);

// Path of a fixture of this test executable's folder (tests/<folder>/fixtures). Inline, so that it sees the
// fixture folder each test executable is compiled with.
#ifdef PICTERN_TEST_FIXTURES
inline QString fixturePath(const QString& relative)
{
    return QStringLiteral(PICTERN_TEST_FIXTURES "/") + relative;
}
#endif

// Writes the image as a PNG whole or not at all: several test processes may read the same files at once.
bool writeImageWhole(const QImage& image, const QString& path);

// Writes a screenshot under the build's screenshots folder (for executables compiled with one), named <name>.png.
#ifdef PICTERN_SCREENSHOT_DIR
inline bool writeScreenshot(const QImage& image, const QString& name)
{
    return writeImageWhole(image, QStringLiteral(PICTERN_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}
#endif

} // namespace pt::test

// Readable QString values in test failure messages.
void PrintTo(const QString& value, std::ostream* os);
void PrintTo(const QVariant& value, std::ostream* os);
void PrintTo(const QVariantMap& value, std::ostream* os);
