// Outputs read back by programs we did not write: poppler's pdftoppm turns
// a PDF page into pixels, libwmf's wmf2svg a metafile into SVG, and Qt's SVG
// renderer an SVG into pixels. Pictures are then compared with the screen
// rendering everywhere except along edges, where antialiasing differs.
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

/// Pixels of `got` that differ from `want` by more than a small tolerance
/// although no pixel within one step of them in `want` has another colour:
/// differences away from edges.
inline int DifferencesAwayFromEdges(const QImage& want, const QImage& got)
{
    if (want.size() != got.size()) return want.width() * want.height();
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 24 && std::abs(qGreen(a) - qGreen(b)) <= 24 &&
               std::abs(qBlue(a) - qBlue(b)) <= 24;
    };
    int count = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            const QRgb w = want.pixel(x, y);
            if (near(w, got.pixel(x, y))) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy) {
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= want.width() || ny >= want.height()) continue;
                    edge = (want.pixel(nx, ny) & 0xFFFFFF) != (w & 0xFFFFFF);
                }
            }
            if (!edge) ++count;
        }
    }
    return count;
}

} // namespace iotest
