// Outputs read back by programs we did not write: poppler's pdftoppm turns
// a PDF page into pixels, libwmf's wmf2svg a metafile into SVG.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace iotest {

/// Runs a program; the exit code (-1 when it did not start) and what it
/// wrote on its output. What it says on its error stream goes to the test's.
inline int RunProgram(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForStarted(10000)) return -1;
    p.waitForFinished(60000);
    if (output) *output = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

/// The first page of a PDF at 96 pixels per inch, as pdftoppm draws it.
inline QImage RasterisePdf(const QString& pdf)
{
    const QString stem = pdf + QStringLiteral("-page");
    QByteArray out;
    const int rc = RunProgram(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), pdf, stem},
                              &out);
    EXPECT_EQ(rc, 0) << "pdftoppm (poppler-utils, see scripts/setup) failed";
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace iotest
