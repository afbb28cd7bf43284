#include "platform/Printer.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QtSvg/QSvgGenerator>

namespace mycad {

int32_t ScreenPixelsPerInch();

namespace {

QPageLayout LayoutOf(const TPaperSize& paper)
{
    // Sizes are given as they stand on the page, so a landscape page is a
    // wide portrait one: no orientation turns it again.
    return QPageLayout(QPageSize(QSizeF(paper.WidthMm, paper.HeightMm), QPageSize::Millimeter),
                       QPageLayout::Portrait, QMarginsF());
}

} // namespace

// ---------------------------------------------------------------- printer

TPrinter::TPrinter() : own_(std::make_unique<QPrinter>(QPrinter::HighResolution)), printer_(own_.get())
{
    printer_->setFullPage(true);
}

TPrinter::TPrinter(QPrinter* printer) : printer_(printer)
{
    printer_->setFullPage(true);
}

TPrinter::~TPrinter()
{
    EndDoc();
}

void TPrinter::SetOutputFileName(const String& fileName)
{
    printer_->setOutputFormat(fileName.isEmpty() ? QPrinter::NativeFormat : QPrinter::PdfFormat);
    printer_->setOutputFileName(fileName);
}

void TPrinter::SetPaper(const TPaperSize& paper)
{
    printer_->setPageLayout(LayoutOf(paper));
}

void TPrinter::SetTitle(const String& title)
{
    printer_->setDocName(title);
}

void TPrinter::SetGrayscale(bool grey)
{
    printer_->setColorMode(grey ? QPrinter::GrayScale : QPrinter::Color);
}

bool TPrinter::BeginDoc()
{
    if (printing_) return true;
    if (!canvas_.SetDevice(printer_)) return false;
    canvas_.SetNumColors(NumColors());
    printing_ = true;
    return true;
}

bool TPrinter::NewPage()
{
    return printing_ && canvas_.NewPage();
}

void TPrinter::EndDoc()
{
    if (!printing_) return;
    canvas_.SetDevice(nullptr);
    printing_ = false;
}

int32_t TPrinter::PageWidth() const
{
    const double scale = double(printer_->logicalDpiX()) / ScreenPixelsPerInch();
    return RoundToInt(printer_->width() / scale);
}

int32_t TPrinter::PageHeight() const
{
    const double scale = double(printer_->logicalDpiY()) / ScreenPixelsPerInch();
    return RoundToInt(printer_->height() / scale);
}

int32_t TPrinter::NumColors() const
{
    return printer_->colorMode() == QPrinter::GrayScale ? 2 : -1;
}

TPrinter& Printer()
{
    static TPrinter printer;
    return printer;
}

bool IsBlackWhitePrinter()
{
    return Printer().NumColors() == 2;
}

// ---------------------------------------------------------------- PDF

TPdfDocument::TPdfDocument(const String& fileName, const TPaperSize& paper, const String& title)
    : writer_(std::make_unique<QPdfWriter>(fileName)), fileName_(fileName)
{
    writer_->setResolution(1200);
    writer_->setPageLayout(LayoutOf(paper));
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("MyCAD"));
}

TPdfDocument::~TPdfDocument()
{
    canvas_.SetDevice(nullptr);
}

bool TPdfDocument::BeginDoc()
{
    // The writer reports no failure to open its file; the painter only fails to start.
    QFile probe(fileName_);
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    return canvas_.SetDevice(writer_.get());
}

bool TPdfDocument::EndDoc()
{
    canvas_.SetDevice(nullptr);
    return QFile(fileName_).size() > 0;
}

// ---------------------------------------------------------------- SVG

TSvgDocument::TSvgDocument(const String& fileName, int32_t width, int32_t height, const String& title)
    : generator_(std::make_unique<QSvgGenerator>()), fileName_(fileName)
{
    if (fileName.isEmpty()) {
        buffer_ = std::make_unique<QBuffer>();
        generator_->setOutputDevice(buffer_.get());
    } else {
        generator_->setFileName(fileName);
    }
    // One SVG user unit per canvas pixel.
    generator_->setResolution(ScreenPixelsPerInch());
    generator_->setSize(QSize(width, height));
    generator_->setViewBox(QRect(0, 0, width, height));
    generator_->setTitle(title);
}

TSvgDocument::~TSvgDocument()
{
    canvas_.SetDevice(nullptr);
}

bool TSvgDocument::BeginDoc()
{
    if (!fileName_.isEmpty()) {
        QFile probe(fileName_);
        if (!probe.open(QIODevice::WriteOnly)) return false;
    }
    return canvas_.SetDevice(generator_.get());
}

bool TSvgDocument::EndDoc()
{
    canvas_.SetDevice(nullptr);
    return fileName_.isEmpty() || QFile(fileName_).size() > 0;
}

std::vector<uint8_t> TSvgDocument::Bytes() const
{
    if (!buffer_) return {};
    const QByteArray& data = buffer_->data();
    return std::vector<uint8_t>(data.begin(), data.end());
}

} // namespace mycad
