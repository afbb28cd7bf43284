// Helpers of the application tests: running the command in-process, files
// in a scratch folder, pixels of written pictures.
#pragma once

#include "apps/cli/Commands.h"
#include "cad/canvas/MyCAD.h"
#include "platform/Graphics.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace mycad::appstest {

struct TRun {
    int code = -1;
    QString out;
    QString err;
};

/// `mycad ARGS...` in this process.
inline TRun Mycad(const QStringList& args)
{
    TRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::RunMyCad(args, out, err);
    out.flush();
    err.flush();
    return r;
}

inline std::vector<uint8_t> ReadBytes(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return {data.begin(), data.end()};
}

inline bool WriteBytes(const QString& file, const std::vector<uint8_t>& bytes)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

/// A rectangle from document points, listed on the current layer.
inline TMyShape* AddBox(TMyCAD& cad, float l, float t, float r, float b, TColor fill)
{
    TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->TextOutPoint = s->CenterPoint;
    s->Brush().SetColor(fill);
    s->Brush().SetStyle(TBrushStyle::bsSolid);
    s->Pen().SetColor(fill);
    return s;
}

/// A text box showing text, so that DXF files with text and with outlines differ.
inline TMyShape* AddTextBox(TMyCAD& cad, float l, float t, float r, float b, const QString& text)
{
    TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyText"));
    s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->SetInfo(text);
    return s;
}

struct PixelIs {
    int32_t x;
    int32_t y;
    TColor colour;
};

/// A picture file of the size given (any size when w is 0) with the pixels given.
inline void ExpectPicture(const QString& file, int32_t w, int32_t h, const std::vector<PixelIs>& pixels)
{
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromFile(file)) << file.toStdString();
    if (w > 0) {
        EXPECT_EQ(bmp.Width(), w) << file.toStdString();
        EXPECT_EQ(bmp.Height(), h) << file.toStdString();
    }
    for (const PixelIs& p : pixels) {
        EXPECT_EQ(bmp.Canvas().Pixel(p.x, p.y), p.colour) << file.toStdString() << " at " << p.x << "," << p.y;
    }
}

} // namespace mycad::appstest
