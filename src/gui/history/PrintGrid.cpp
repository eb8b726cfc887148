// libtollix_print.so: the only code that links Qt Print Support.
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTableWidget>

#include <algorithm>
#include <memory>
#include <vector>

#include "gui/history/PrintGrid.h"

namespace tollix {

namespace {

// Everything on paper is placed in twips (1/1440 inch), as the layout is given.
constexpr double kTwipsPerInch = 1440.0;
constexpr int kBandTop = 1000;
constexpr int kPageReserve = 2200;  // title area above the band, footer below
constexpr int kTitleX = 4300;
constexpr int kTitleY = 350;
constexpr int kFooterX = 5450;
constexpr int kFooterFromBottom = 1200;
constexpr int kCellPadding = 40;

std::unique_ptr<QPrinter> DefaultPrinter()
{
    const QByteArray pdf = qgetenv("TOLLIX_PRINT_TO_PDF");
    if (!pdf.isEmpty()) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromLocal8Bit(pdf));
        printer->setPageSize(QPageSize(QPageSize::A4));
        return printer;
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

class Paper {
public:
    Paper(QPainter& painter, double dotsPerInch)
        : painter_(painter)
        , scale_(dotsPerInch / kTwipsPerInch)
    { }

    double Px(double twips) const { return twips * scale_; }
    QRectF Rect(double x, double y, double w, double h) const { return {Px(x), Px(y), Px(w), Px(h)}; }
    void Text(double x, double y, double pointSize, const QString& text, const QFont& base)
    {
        QFont font = base;
        font.setPointSizeF(pointSize);
        painter_.setFont(font);
        painter_.drawText(
            QRectF(Px(x), Px(y), Px(20000), Px(pointSize * 40)), Qt::AlignLeft | Qt::AlignTop, text);
    }

private:
    QPainter& painter_;
    double scale_;
};

}  // namespace

bool PrintGridOnPaper(const QTableWidget& grid)
{
    auto fail = [] { return false; };

    std::unique_ptr<QPrinter> printer = DefaultPrinter();
    if (!printer || !printer->isValid())
        return fail();
    printer->setFullPage(true);
    printer->setDocName(QCoreApplication::translate("PrintGrid", "上网历史记录"));

    // The grid as it stands on screen, in twips.
    const double screenX = grid.logicalDpiX() / kTwipsPerInch;
    const double screenY = grid.logicalDpiY() / kTwipsPerInch;
    std::vector<double> widths;
    double gridWidth = 0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        widths.push_back(grid.isColumnHidden(c) ? 0 : grid.columnWidth(c) / screenX);
        gridWidth += widths.back();
    }
    std::vector<double> heights;
    for (int r = 0; r < grid.rowCount(); ++r)
        heights.push_back(grid.rowHeight(r) / screenY);

    const double dpi = printer->resolution();
    const QRectF pageRect = printer->pageLayout().fullRectPixels(int(dpi));
    const double pageWidth = pageRect.width() * kTwipsPerInch / dpi;
    const double pageHeight = pageRect.height() * kTwipsPerInch / dpi;

    // Centred on the page; a grid wider than the paper is shrunk to fit it.
    const double fit = gridWidth > pageWidth - 720 ? (pageWidth - 720) / gridWidth : 1.0;
    const double left = (pageWidth - gridWidth * fit) / 2;
    const double bandHeight = pageHeight - kPageReserve;

    QPainter painter;
    if (!painter.begin(printer.get()))
        return fail();
    Paper paper(painter, dpi);
    const QFont baseFont = grid.font();
    QFont cellFont = baseFont;
    cellFont.setPointSizeF(baseFont.pointSizeF() > 0 ? baseFont.pointSizeF() * fit : 9 * fit);
    const QPen gridPen(Qt::black, std::max(1.0, paper.Px(10)));

    paper.Text(kTitleX, kTitleY, 28, QCoreApplication::translate("PrintGrid", "上网历史记录"), baseFont);

    int row = 0;
    int page = 1;
    const int rowCount = grid.rowCount();
    do {
        // Rows while they fit under the band's top and above the footer; at
        // least one, so a tiny page still ends.
        int end = row;
        double used = 0;
        while (end < rowCount && (end == row || used + heights[size_t(end)] * fit <= bandHeight)) {
            used += heights[size_t(end)] * fit;
            ++end;
        }

        double y = kBandTop;
        painter.setFont(cellFont);
        for (int r = row; r < end; ++r) {
            const double h = heights[size_t(r)] * fit;
            double x = left;
            for (int c = 0; c < grid.columnCount(); ++c) {
                const double w = widths[size_t(c)] * fit;
                if (w <= 0)
                    continue;
                const QRectF cell = paper.Rect(x, y, w, h);
                const QTableWidgetItem* item = grid.item(r, c);
                if (item && item->background().style() != Qt::NoBrush)
                    painter.fillRect(cell, QColor(224, 224, 224));
                painter.setPen(gridPen);
                painter.drawRect(cell);
                if (item && !item->text().isEmpty()) {
                    const QRectF inner = paper.Rect(x + kCellPadding, y, w - 2 * kCellPadding, h);
                    // A cut number reads as another number: a text too wide
                    // for its cell is printed smaller, never clipped.
                    const double wide
                        = QFontMetricsF(cellFont, printer.get()).horizontalAdvance(item->text());
                    QFont font = cellFont;
                    if (wide > inner.width() && inner.width() > 0)
                        font.setPointSizeF(cellFont.pointSizeF() * inner.width() / wide * 0.98);
                    painter.setFont(font);
                    painter.drawText(inner,
                        int(item->textAlignment()) | Qt::TextSingleLine | Qt::TextDontClip, item->text());
                }
                x += w;
            }
            y += h;
        }

        paper.Text(kFooterX, pageHeight - kFooterFromBottom, 10,
            QCoreApplication::translate("PrintGrid", "第 %1 页").arg(page), baseFont);
        ++page;
        row = end;
        if (row < rowCount && !printer->newPage()) {
            painter.end();
            return fail();
        }
    } while (row < rowCount);

    if (!painter.end() || printer->printerState() == QPrinter::Error)
        return fail();
    return true;
}

}  // namespace tollix

extern "C" Q_DECL_EXPORT bool TollixPrintGrid(const QTableWidget& grid)
{
    return tollix::PrintGridOnPaper(grid);
}
