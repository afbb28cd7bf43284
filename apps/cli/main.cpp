// mycad: inspect, render and convert drawings without a window.
#include "apps/cli/Commands.h"

#include <QApplication>

namespace {

// Qt's own warnings (a missing runtime directory, font fallbacks) are noise
// to someone running a command; only its critical messages get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) QTextStream(stderr) << text << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(QuietQtMessages);
    // The canvas is a widget and text needs fonts, so the program runs a
    // widget application; it never shows a window and needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = mycad::cli::RunMyCad(QApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
