// MyCAD Studio, the drawing editor.
//
//   mycad-studio [DRAWING]            opens the editor, with the drawing if given
//   mycad-studio --render DRAWING OUT renders the drawing to a PNG, JPEG or BMP
//                                     picture without a window
#include "apps/common/DrawingFiles.h"
#include "apps/studio/Icons.h"
#include "apps/studio/StudioWindow.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTextStream>

namespace {

const char* const kUsage =
    "usage: mycad-studio [DRAWING]\n"
    "       mycad-studio --render DRAWING OUT\n"
    "       mycad-studio --version\n"
    "\n"
    "Opens MyCAD Studio, with DRAWING if one is given. With --render the\n"
    "drawing is written to the picture OUT (.png, .jpg or .bmp) at its page\n"
    "size, and no window is opened (the same order as 'mycad render').\n";

bool OpensNoWindow(const QByteArray& arg)
{
    return arg == "--render" || arg == "--help" || arg == "-h" || arg == "--version";
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering and the usage text open no window and need no display.
    for (int i = 1; i < argc; ++i) {
        if (OpensNoWindow(QByteArray(argv[i])) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MyCAD Studio"));
    QApplication::setOrganizationName(QStringLiteral("MyCAD"));
    QApplication::setApplicationVersion(QString::fromLatin1(mycad::app::kVersion));
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments().mid(1);

    if (!args.isEmpty() && (args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h"))) {
        QTextStream(stdout) << kUsage;
        return 0;
    }
    if (!args.isEmpty() && args.front() == QLatin1String("--version")) {
        QTextStream(stdout) << "mycad-studio " << mycad::app::kVersion << '\n';
        return 0;
    }
    if (!args.isEmpty() && args.front() == QLatin1String("--render")) {
        if (args.size() != 3) {
            err << kUsage;
            return 2;
        }
        QString error;
        const int status = mycad::studio::RenderDrawingFile(args.at(1), args.at(2), error);
        if (status != 0) err << "mycad-studio: " << error << '\n';
        return status;
    }
    if (args.size() > 1 || (!args.isEmpty() && args.front().startsWith(QLatin1String("--")))) {
        err << kUsage;
        return 2;
    }

    QApplication::setWindowIcon(mycad::studio::CommandIcon(QStringLiteral("app")));
    mycad::studio::TStudioWindow window;
    // What the canvas has to tell the user comes up as a message box.
    mycad::SetMessageHandler([&window](const mycad::String& text) {
        QMessageBox::warning(&window, QStringLiteral("MyCAD Studio"), text);
    });
    // A window that fits the screen, whatever its size.
    if (const QScreen* screen = QApplication::primaryScreen()) {
        window.resize(window.size().boundedTo(screen->availableGeometry().size() * 0.95));
    }
    window.show();
    mycad::studio::InstallCrashRecovery(&window);
    // Unsaved work of a session that ended badly comes first.
    if (!window.OfferRecovery() && !args.isEmpty()) window.OpenFile(args.front());
    const int status = QApplication::exec();
    mycad::studio::InstallCrashRecovery(nullptr);
    mycad::SetMessageHandler({});
    return status;
}
