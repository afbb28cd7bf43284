#include "platform/ClipboardPictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QVariant>

#include <map>

namespace mycad {

namespace {

QByteArray ToByteArray(const std::vector<uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

const QString kQtImageMime = QStringLiteral("application/x-qt-image");

// Data that is made when a program asks for it, each format once.
class TPromisedData : public QMimeData {
public:
    TPromisedData(const std::vector<TClipboardFormat>& formats, std::function<std::unique_ptr<TBitmap>()> image)
        : image_(std::move(image))
    {
        for (const TClipboardFormat& f : formats) {
            if (f.Produce) {
                promised_[f.MimeType] = f.Produce;
            } else if (!f.Bytes.empty()) {
                setData(f.MimeType, ToByteArray(f.Bytes));
            }
        }
    }

    QStringList formats() const override
    {
        QStringList list = QMimeData::formats();
        for (const auto& [mime, produce] : promised_) list << mime;
        if (image_ && !list.contains(kQtImageMime)) list << kQtImageMime;
        return list;
    }

    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override
    {
        if (mime == kQtImageMime && image_) {
            std::unique_ptr<TBitmap> bitmap = std::exchange(image_, nullptr)();
            if (bitmap && !bitmap->Empty()) made_[kQtImageMime] = QVariant::fromValue(bitmap->Image());
        }
        if (const auto it = promised_.find(mime); it != promised_.end()) {
            const std::vector<uint8_t> bytes = it->second();
            if (!bytes.empty()) made_[mime] = ToByteArray(bytes);
            promised_.erase(it);
        }
        if (const auto it = made_.find(mime); it != made_.end()) return it->second;
        return QMimeData::retrieveData(mime, type);
    }

private:
    mutable std::map<QString, std::function<std::vector<uint8_t>()>> promised_;
    mutable std::function<std::unique_ptr<TBitmap>()> image_;
    mutable std::map<QString, QVariant> made_;
};

bool Publish(std::unique_ptr<QMimeData> data)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    clipboard->setMimeData(data.release());
    return true;
}

} // namespace

bool SetClipboardFormats(const std::vector<TClipboardFormat>& formats, const TBitmap& bitmap)
{
    auto data = std::make_unique<TPromisedData>(formats, nullptr);
    if (!bitmap.Empty()) data->setImageData(QVariant::fromValue(bitmap.Image()));
    return Publish(std::move(data));
}

bool SetClipboardFormats(const std::vector<TClipboardFormat>& formats,
                         const std::function<std::unique_ptr<TBitmap>()>& produceImage)
{
    return Publish(std::make_unique<TPromisedData>(formats, produceImage));
}

bool SetClipboardPictures(const std::vector<uint8_t>& wmf, const std::vector<uint8_t>& svg, const TBitmap& bitmap)
{
    return SetClipboardFormats({{QString::fromLatin1(kWmfMimeType), wmf, {}}, {kSvgMimeType, svg, {}}},
                               bitmap);
}

std::vector<uint8_t> ClipboardFormatBytes(const String& mimeType, size_t maxBytes)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return {};
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasFormat(mimeType)) return {};
    const QByteArray bytes = data->data(mimeType);
    if (bytes.isEmpty() || static_cast<size_t>(bytes.size()) > maxBytes) return {};
    return {reinterpret_cast<const uint8_t*>(bytes.constData()),
            reinterpret_cast<const uint8_t*>(bytes.constData()) + bytes.size()};
}

} // namespace mycad
