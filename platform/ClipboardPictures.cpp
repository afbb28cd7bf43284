#include "platform/ClipboardPictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QVariant>

namespace mycad {

bool SetClipboardPictures(const std::vector<uint8_t>& wmf, const std::vector<uint8_t>& svg, const TBitmap& bitmap)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    auto data = std::make_unique<QMimeData>();
    auto bytes = [](const std::vector<uint8_t>& v) {
        return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
    };
    if (!wmf.empty()) data->setData(QString::fromLatin1(kWmfMimeType), bytes(wmf));
    if (!svg.empty()) data->setData(QStringLiteral("image/svg+xml"), bytes(svg));
    if (!bitmap.Empty()) data->setImageData(QVariant::fromValue(bitmap.Image()));
    clipboard->setMimeData(data.release());
    return true;
}

} // namespace mycad
