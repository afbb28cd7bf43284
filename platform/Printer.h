// The printer and the document writers a page is drawn on: each holds a
// paint device and a canvas bound to it for the length of one document.
// Canvas pixels are screen pixels on every one of them, so a page drawn for
// the screen comes out at its real size (see TCanvas).
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

class QPrinter;
class QPdfWriter;
class QSvgGenerator;
class QBuffer;

namespace mycad {

/// A page layout: size in millimetres, portrait as given.
struct TPaperSize {
    double WidthMm = 210;
    double HeightMm = 297;
};

/// A printer: a printing system's queue, or a PDF file when an output file
/// name is set. The page fills the whole paper (no margins are added), so
/// a drawing's page lands on paper of its size at 1:1.
class TPrinter {
public:
    /// A printer of its own, at the printing system's default queue.
    TPrinter();
    /// A printer the application set up (for instance in a print dialog);
    /// it must outlive this object.
    explicit TPrinter(QPrinter* printer);
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    /// Prints into a PDF file instead of a queue (empty: back to the queue).
    void SetOutputFileName(const String& fileName);
    /// The paper, before BeginDoc.
    void SetPaper(const TPaperSize& paper);
    void SetTitle(const String& title);
    /// Grey-only printing: the canvas then reports 2 colours.
    void SetGrayscale(bool grey);

    /// Starts the print job; false when the printer cannot start it.
    bool BeginDoc();
    bool NewPage();
    /// Ends the job; a PDF file is complete afterwards.
    void EndDoc();
    bool Printing() const { return printing_; }

    /// The canvas of the job's current page (no device outside a job).
    TCanvas& Canvas() { return canvas_; }
    /// The page in canvas pixels.
    int32_t PageWidth() const;
    int32_t PageHeight() const;
    /// The printer's number of colours: 2 for black-and-white printing, -1
    /// for colour.
    int32_t NumColors() const;

    QPrinter* Device() const { return printer_; }

private:
    std::unique_ptr<QPrinter> own_;
    QPrinter* printer_ = nullptr;
    TCanvas canvas_;
    bool printing_ = false;
};

/// The application's printer.
TPrinter& Printer();

/// True when the application's printer prints two colours only.
bool IsBlackWhitePrinter();

/// A PDF document of pages of one size.
class TPdfDocument {
public:
    TPdfDocument(const String& fileName, const TPaperSize& paper, const String& title);
    ~TPdfDocument();
    TPdfDocument(const TPdfDocument&) = delete;
    TPdfDocument& operator=(const TPdfDocument&) = delete;
    /// False when the file cannot be written.
    bool BeginDoc();
    bool NewPage() { return canvas_.NewPage(); }
    /// Finishes the file; false when writing failed.
    bool EndDoc();
    TCanvas& Canvas() { return canvas_; }

private:
    std::unique_ptr<QPdfWriter> writer_;
    String fileName_;
    TCanvas canvas_;
};

/// An SVG picture of a given size in canvas pixels, into a file or into
/// memory (empty file name). Text stays text.
class TSvgDocument {
public:
    TSvgDocument(const String& fileName, int32_t width, int32_t height, const String& title);
    ~TSvgDocument();
    TSvgDocument(const TSvgDocument&) = delete;
    TSvgDocument& operator=(const TSvgDocument&) = delete;
    bool BeginDoc();
    /// Finishes the picture; false when writing failed.
    bool EndDoc();
    TCanvas& Canvas() { return canvas_; }
    /// The SVG text of a picture made in memory, after EndDoc.
    std::vector<uint8_t> Bytes() const;

private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QSvgGenerator> generator_;
    String fileName_;
    TCanvas canvas_;
};

} // namespace mycad
