// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "app/display_check.h"
#include "app/form1.h"
#include "app/language.h"
#include "app/utf8.h"
#include "integral_version.h"
#include "model/window_geometry.h"

namespace {

using integral::text;

const QCommandLineOption kLanguageOption(
    QStringLiteral("language"),
    QStringLiteral("The window's own texts in <language>: en for English, original for the texts "
                   "as they are (the default, or what the Language menu chose last)."),
    QStringLiteral("language"));

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Integral teaches numerical integration: pick an integrand, plot it, type the limits and "
        "watch the parabolic rule, Gauss-Legendre and Monte Carlo settle, one row per step.\n"
        "The same tables on the command line: integral-table --help."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kLanguageOption);
}

// The language given, or else the one the Language menu chose last; a language the program
// does not have, given on the command line, ends it with a line saying which it has.
bool chooseLanguage(const QCommandLineParser& parser) {
    if (!parser.isSet(kLanguageOption)) {
        (void)integral::useLanguage(integral::savedLanguage());
        return true;
    }
    const QString given = parser.value(kLanguageOption).trimmed().toLower();
    const QString language = given == QStringLiteral("original") ? QString() : given;
    if (integral::useLanguage(language)) {
        return true;
    }
    QString shown = given.left(40);
    for (QChar& c : shown) {
        c = c.isPrint() ? c : QLatin1Char('?');
    }
    std::fprintf(stderr, "integral: no texts in the language '%s'; give en or original.\n",
                 shown.toUtf8().constData());
    return false;
}

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            return true;
        }
    }
    return false;
}

// Whether the user named the platform on the command line; the toolkit then decides alone.
bool platformGiven(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            return true;
        }
    }
    return false;
}

QtMessageHandler toolkitHandler = nullptr;

void endWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        toolkitHandler(type, context, message);
        return;
    }
    // Only its platform can fail this early: the display the check reached is gone, or the
    // platform the user chose cannot start here.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QByteArray where = !platform.isEmpty() ? "the platform '" + platform + "'"
                       : !qgetenv("WAYLAND_DISPLAY").isEmpty()
                           ? "the display '" + qgetenv("WAYLAND_DISPLAY") + "'"
                           : "the display '" + qgetenv("DISPLAY") + "'";
    for (char& c : where) {
        c = c >= 0x20 && c < 0x7F ? c : '?';
    }
    std::fprintf(stderr,
                 "integral: cannot open the window on %s (the toolkit could not start there); "
                 "start it from a terminal of a running desktop session.\n",
                 where.left(80).constData());
    std::fflush(stderr);
    std::_Exit(1);
}

// A screen too small for the window at the scale asked for (a projector's 1366 x 768 at 1.5)
// would cut off its lower part, End and the summary among it. The toolkit sets its scale once,
// at the start: the program starts again at the scale at which the whole window fits, the
// same picture smaller. Once only; where that fails, it carries on as it is.
void startSmallerWhereTooLarge(const QWidget& window, const std::vector<char*>& arguments) {
    constexpr const char* kFitted = "INTEGRAL_FITTED_SCALE";
    if (qEnvironmentVariableIsSet(kFitted) || window.screen() == nullptr) {
        return;
    }
    const QRect available = window.screen()->availableGeometry();
    bool given = false;
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    const std::optional<double> fitted = integral::fittingScale(
        given && asked > 0 ? asked : 1.0,
        {available.x(), available.y(), available.width(), available.height()}, window.width(),
        window.height());
    if (!fitted) {
        return;
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(*fitted));
    qputenv(kFitted, "1");
    ::execv("/proc/self/exe", arguments.data());
}

// Looking the icon up in the desktop's icon themes takes longer than anything else the start
// does beyond the bare window, and nothing needs it before the window is on the screen.
class IconAfterFirstPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    const QString id = text(integral::kApplicationId);
                    QApplication::setWindowIcon(QIcon::fromTheme(
                        id, QIcon(QStringLiteral(":/icons/") + id + QStringLiteral(".svg"))));
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

void setIconAfterFirstPaint(QWidget& window) {
    window.installEventFilter(new IconAfterFirstPaint(&window));
}

void name() {
    QCoreApplication::setApplicationName(QStringLiteral("integral"));
    QCoreApplication::setApplicationVersion(text(integral::kVersion));
}

}  // namespace

int main(int argc, char** argv) {
    QCommandLineParser parser;
    describe(parser);
    if (asksForHelpOrVersion(argc, argv)) {
        // Help and version need no display.
        QCoreApplication app(argc, argv);
        name();
        parser.process(app);
        return 0;
    }
    integral::DisplayVerdict display;
    if (!platformGiven(argc, argv)) {
        // Before the toolkit starts: it aborts where the display is not there.
        display = integral::checkDisplay();
        if (display.problem) {
            std::fprintf(stderr, "%s\n", display.problem->c_str());
            return 1;
        }
        if (!display.platform.empty()) {
            qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(display.platform));
        }
    }
    // The display can still go away between the check and the toolkit's own connection, or a
    // platform the user chose cannot start here: the toolkit then gives up with a fatal
    // message and an abort, until the window is on the screen. Said in one line, the program
    // ends as it does for a display that is not there.
    toolkitHandler = qInstallMessageHandler(endWithoutDisplay);
    // The toolkit takes its own options out of argv; a start at another scale needs them all.
    const std::vector<char*> arguments(argv, argv + argc + 1);
    QApplication app(argc, argv);
    display.heldX.reset();  // the toolkit holds a connection of its own now
    name();
    QApplication::setDesktopFileName(text(integral::kApplicationId));
    parser.process(app);  // the toolkit has taken its own options; anything else is refused
    if (!chooseLanguage(parser)) {
        return 2;
    }
    // One style everywhere, so the method buttons show their own colour on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    integral::Form1 window;
    startSmallerWhereTooLarge(window, arguments);
    window.show();
    setIconAfterFirstPaint(window);
    qInstallMessageHandler(toolkitHandler);  // the window is on the screen
    return QApplication::exec();
}
