#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform that the tests run on has no window manager to pass a window's
// minimum and maximum size to, nor a keyboard for a pop-up list to grab, and says so each
// time. That is about the platform, not about the code under test.
constexpr QLatin1StringView kOffscreenLimits[] = {
    QLatin1StringView("This plugin does not support propagateSizeHints()"),
    QLatin1StringView("This plugin does not support grabbing the keyboard"),
    QLatin1StringView("This plugin does not support raise()")};

// A warning from Qt means the code under test misused it, so it fails the test that
// caused it; debug and info messages go on to Qt's own handler.
void failOnQtWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg) {
        if (previousHandler)
            previousHandler(type, context, text);
        return;
    }
    if (std::find(std::begin(kOffscreenLimits), std::end(kOffscreenLimits), text) !=
            std::end(kOffscreenLimits) &&
        QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const char* kind = type == QtWarningMsg    ? "warning"
                       : type == QtCriticalMsg ? "critical"
                                               : "fatal";
    // Where the message comes from is known only for code built with QT_MESSAGELOGCONTEXT.
    std::string where =
        std::string(" (category ") + (context.category ? context.category : "default");
    if (context.file)
        where += std::string(", ") + context.file + ":" + std::to_string(context.line);
    if (context.function)
        where += std::string(", in ") + context.function;
    ADD_FAILURE() << "Qt " << kind << ": " << text.toStdString() << where << ")";
    if (type == QtFatalMsg && previousHandler)
        previousHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Widget tests run without a display.
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime directory; a session without one (a container, a build
    // machine) gets a temporary one instead of a warning at every start.
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.emplace().isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    // Listing the tests prints nothing but their names, which CTest reads.
    if (!GTEST_FLAG_GET(list_tests))
        previousHandler = qInstallMessageHandler(failOnQtWarning);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvok"));
    // No test reaches the user's own data folder.
    QStandardPaths::setTestModeEnabled(true);
    const int result = RUN_ALL_TESTS();
    // What the application prints as it shuts down can no longer fail a test.
    qInstallMessageHandler(previousHandler);
    return result;
}
