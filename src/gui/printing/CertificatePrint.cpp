// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CertificatePrint.h"

#include "files/Settings.h"
#include "model/Translator.h"
#include "printing/CommissioningCertificate.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <array>
#include <vector>

namespace {

bool fail(QString* error, const char* reason) {
    if (error)
        *error = QString::fromUtf8(reason);
    return false;
}

// Of the page's width: the names and remarks need room, the numbers little.
constexpr std::array<double, CertificateColumnCount> BranchColumns = {3, 12, 11, 8, 8, 7, 9, 5, 8, 9, 20};
constexpr std::array<double, 3> DeficiencyColumns = {30, 20, 50};
const QColor HeaderFill(0xE4, 0xE4, 0xE4);

QFont font(qreal points, bool bold = false, bool italic = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct TCell {
    QString Text;
    bool Right = false;
    QString Mark; // a second, italic line (the uncertain mark)
};
using TRow = std::vector<TCell>;

// Lays the certificate out top to bottom on pages of the body's size; with Draw false it only
// counts the pages, so that the foot can say "of n" on the pass that draws.
class TCertificatePages {
public:
    TCertificatePages(QPainter& painter, QPrinter& printer, const QSizeF& body, qreal footHeight, bool draw,
                      const TCommissioningCertificate& c, int pageCount)
        : m_painter(painter), m_printer(printer), m_body(body), m_footHeight(footHeight), m_draw(draw),
          m_c(c), m_pageCount(pageCount), m_pt(printer.logicalDpiY() / 72.0), m_text(font(8.5)),
          m_bold(font(8.5, true)), m_small(font(7.5, false, true)), m_header(font(7.5, true)),
          m_textMetrics(m_text, &printer), m_boldMetrics(m_bold, &printer), m_smallMetrics(m_small, &printer),
          m_headerMetrics(m_header, &printer) {}

    int page() const { return m_page; }
    bool ok() const { return m_ok; }

    void title(const QString& text, qreal points) {
        const QFont f = font(points, true);
        const QFontMetricsF m(f, &m_printer);
        const qreal h = m.height();
        room(h + 6 * m_pt);
        if (m_draw) {
            m_painter.setFont(f);
            m_painter.drawText(QRectF(0, m_y, m_body.width(), h), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
        m_y += h + 4 * m_pt;
    }

    void space(qreal points) { m_y += points * m_pt; }

    // Label and value pairs, two to a line.
    void fields(const std::vector<TCertificateField>& fields) {
        const qreal w = m_body.width();
        qreal label = 0;
        for (const TCertificateField& f : fields)
            label = std::max(label, m_boldMetrics.horizontalAdvance(f.Label + u':'));
        label = std::min(label + 8 * m_pt, w * 0.22);
        const std::array<qreal, 4> x = {0, label, w * 0.50, w * 0.50 + label};
        const std::array<qreal, 4> width = {label, w * 0.50 - label, label, w * 0.50 - label};
        for (std::size_t i = 0; i < fields.size(); i += 2) {
            qreal h = m_textMetrics.height();
            for (std::size_t j = i; j < i + 2 && j < fields.size(); ++j)
                h = std::max(h,
                             textHeight(m_textMetrics, fields[j].Value, width[(j - i) * 2 + 1] - 4 * m_pt));
            h = std::min(h, m_body.height() / 2);
            room(h);
            for (std::size_t j = i; j < i + 2 && j < fields.size(); ++j) {
                const std::size_t k = (j - i) * 2;
                text(m_bold, QRectF(x[k], m_y, width[k], h), fields[j].Label + u':', Qt::AlignLeft);
                text(m_text, QRectF(x[k + 1], m_y, width[k + 1] - 4 * m_pt, h), fields[j].Value,
                     Qt::AlignLeft | Qt::TextWordWrap);
            }
            m_y += h + 1 * m_pt;
        }
    }

    // A heading kept on the page of the table's header and first row.
    void table(const QString& heading, const TRow& header, const std::vector<TRow>& rows,
               const std::vector<double>& percents) {
        const qreal pad = 2.5 * m_pt;
        const std::vector<qreal> width = columnWidths(header, rows, percents, pad);
        std::vector<qreal> x;
        qreal left = 0;
        for (qreal w : width) {
            x.push_back(left);
            left += w;
        }
        const auto rowHeight = [&](const TRow& row, const QFontMetricsF& m) {
            qreal h = m.height();
            for (std::size_t i = 0; i < row.size() && i < width.size(); ++i) {
                qreal cell = textHeight(m, row[i].Text, width[i] - 2 * pad);
                if (!row[i].Mark.isEmpty())
                    cell += m_smallMetrics.height();
                h = std::max(h, cell);
            }
            // Text of more than half a page (a remark pages long) is cut there, so that the row
            // still fits a page; the HTML and the spreadsheets keep it whole.
            return std::min(h + 2 * pad, m_body.height() / 2);
        };
        const qreal headerHeight = rowHeight(header, m_headerMetrics);
        const qreal headingHeight = font11().height() + 4 * m_pt;
        const qreal first = rows.empty() ? 0 : rowHeight(rows.front(), m_textMetrics);
        room(headingHeight + headerHeight + first);
        title(heading, 11);
        const auto drawRow = [&](const TRow& row, qreal h, bool isHeader) {
            if (!m_draw)
                return;
            const QFontMetricsF& m = isHeader ? m_headerMetrics : m_textMetrics;
            for (std::size_t i = 0; i < row.size() && i < width.size(); ++i) {
                const QRectF box(x[i], m_y, width[i], h);
                if (isHeader)
                    m_painter.fillRect(box, HeaderFill);
                m_painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 0.5 * m_pt));
                m_painter.drawRect(box);
                m_painter.setPen(Qt::black);
                const QRectF inner = box.adjusted(pad, pad, -pad, -pad);
                const Qt::Alignment align = (row[i].Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
                text(isHeader ? m_header : m_text, inner, row[i].Text, align | Qt::TextWordWrap);
                if (!row[i].Mark.isEmpty())
                    text(m_small, inner.adjusted(0, m.height(), 0, 0), row[i].Mark, align);
            }
        };
        drawRow(header, headerHeight, true);
        m_y += headerHeight;
        for (const TRow& row : rows) {
            const qreal h = rowHeight(row, m_textMetrics);
            if (m_y + h > m_body.height()) {
                newPage();
                drawRow(header, headerHeight, true);
                m_y += headerHeight;
            }
            drawRow(row, h, false);
            m_y += h;
        }
        m_y += 3 * m_pt;
    }

    void note(const QString& line) {
        const qreal h = textHeight(m_smallMetrics, line, m_body.width());
        room(h);
        text(m_small, QRectF(0, m_y, m_body.width(), h), line, Qt::AlignLeft | Qt::TextWordWrap);
        m_y += h + 2 * m_pt;
    }

    // Both signature lines and their heading on one page.
    void signatures() {
        const qreal line = 26 * m_pt;
        const qreal headingHeight = font11().height() + 4 * m_pt;
        room(headingHeight + line * qreal(m_c.Signatures.size()) + 8 * m_pt);
        space(8);
        title(m_c.SignaturesTitle, 11);
        const qreal w = m_body.width();
        for (const TCertificateSignature& s : m_c.Signatures) {
            m_y += line;
            const qreal base = m_y;
            const qreal h = m_textMetrics.height();
            text(m_bold, QRectF(0, base - h, w * 0.22, h), s.Role + u':', Qt::AlignLeft | Qt::AlignBottom);
            if (!s.Name.isEmpty())
                text(m_text, QRectF(0, base, w * 0.22, h), s.Name, Qt::AlignLeft | Qt::AlignTop);
            text(m_text, QRectF(w * 0.22, base - h, w * 0.09, h), m_c.SignatureLabel + u':',
                 Qt::AlignRight | Qt::AlignBottom);
            text(m_text, QRectF(w * 0.66, base - h, w * 0.07, h), m_c.DateLabel + u':',
                 Qt::AlignRight | Qt::AlignBottom);
            if (m_draw) {
                m_painter.setPen(QPen(Qt::black, 0.6 * m_pt));
                m_painter.drawLine(QPointF(w * 0.32, base), QPointF(w * 0.64, base));
                m_painter.drawLine(QPointF(w * 0.74, base), QPointF(w, base));
            }
            m_y += h;
        }
    }

    void finish() { foot(); }

private:
    qreal widestWord(const QFontMetricsF& m, const QString& text) const {
        qreal widest = 0;
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        for (const QString& word : text.split(blanks, Qt::SkipEmptyParts))
            widest = std::max(widest, m.horizontalAdvance(word));
        return widest;
    }

    // The shares of the page, widened where a caption's word or a cell's word would not fit (longer
    // words in other languages); the names and remarks give up the room.
    std::vector<qreal> columnWidths(const TRow& header, const std::vector<TRow>& rows,
                                    const std::vector<double>& percents, qreal pad) const {
        const std::size_t n = percents.size();
        std::vector<qreal> width(n), least(n);
        for (std::size_t i = 0; i < n; ++i) {
            width[i] = m_body.width() * percents[i] / 100.0;
            least[i] = i < header.size() ? widestWord(m_headerMetrics, header[i].Text) : 0;
        }
        // Numbers and words like the status stay whole; remarks and names may wrap anywhere.
        std::vector<bool> flexible(n, false);
        for (std::size_t i = 0; i < n; ++i)
            flexible[i] = percents[i] >= 11;
        for (const TRow& row : rows)
            for (std::size_t i = 0; i < n && i < row.size(); ++i) {
                if (flexible[i])
                    continue;
                least[i] = std::max(least[i], row[i].Right ? m_textMetrics.horizontalAdvance(row[i].Text)
                                                           : widestWord(m_textMetrics, row[i].Text));
                if (!row[i].Mark.isEmpty())
                    least[i] = std::max(least[i], m_smallMetrics.horizontalAdvance(row[i].Mark));
            }
        qreal extra = 0, give = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const qreal need = std::min(least[i] + 2 * pad + 1, m_body.width() * 0.25);
            if (need > width[i]) {
                extra += need - width[i];
                width[i] = need;
            }
            if (flexible[i])
                give += width[i];
        }
        if (extra > 0 && give > 0) {
            const qreal keep = std::max(0.3, (give - extra) / give);
            for (std::size_t i = 0; i < n; ++i)
                if (flexible[i])
                    width[i] *= keep;
        }
        return width;
    }

    QFontMetricsF font11() const { return QFontMetricsF(font(11, true), &m_printer); }

    qreal textHeight(const QFontMetricsF& m, const QString& text, qreal width) const {
        if (text.isEmpty())
            return m.height();
        // Most cells are one short line: no need to lay them out to know that.
        if (!text.contains(u'\n') && m.horizontalAdvance(text) <= width)
            return m.height();
        return m.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text).height();
    }

    void text(const QFont& f, const QRectF& box, const QString& value, int flags) {
        if (!m_draw || value.isEmpty())
            return;
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        m_painter.drawText(box, flags, value);
    }

    void room(qreal height) {
        if (m_y > 0 && m_y + height > m_body.height())
            newPage();
    }

    void newPage() {
        foot();
        if (m_draw && !m_printer.newPage())
            m_ok = false;
        ++m_page;
        m_y = 0;
    }

    void foot() {
        if (!m_draw)
            return;
        const qreal y = m_body.height() + m_footHeight * 0.3;
        m_painter.setPen(QPen(Qt::black, 0));
        m_painter.drawLine(QPointF(0, y), QPointF(m_body.width(), y));
        const QRectF area(0, y, m_body.width(), m_footHeight * 0.7);
        m_painter.setFont(font(7));
        m_painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                           m_c.Title + QStringLiteral(" \u2013 ") + m_c.ProjectName);
        m_painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                           QString(m_c.PageOf).arg(m_page).arg(m_pageCount));
    }

    QPainter& m_painter;
    QPrinter& m_printer;
    QSizeF m_body;
    qreal m_footHeight;
    bool m_draw;
    const TCommissioningCertificate& m_c;
    int m_pageCount;
    qreal m_pt;
    QFont m_text, m_bold, m_small, m_header;
    QFontMetricsF m_textMetrics, m_boldMetrics, m_smallMetrics, m_headerMetrics;
    qreal m_y = 0;
    int m_page = 1;
    bool m_ok = true;
};

void layOut(TCertificatePages& p, const TCommissioningCertificate& c, const TRow& branchHeader,
            const std::vector<TRow>& branches, const TRow& deficiencyHeader,
            const std::vector<TRow>& deficiencies, bool anyUncertain) {
    p.title(c.Title, 16);
    p.fields(c.Details);
    p.space(6);
    p.title(c.SummaryTitle, 11);
    p.fields(c.Summary);
    p.space(6);
    p.table(c.TableTitle, branchHeader, branches,
            std::vector<double>(BranchColumns.begin(), BranchColumns.end()));
    if (anyUncertain)
        p.note(c.UncertainNote);
    p.space(6);
    if (deficiencies.empty()) {
        p.title(c.DeficienciesTitle, 11);
        p.note(c.NoDeficiencies);
    } else {
        p.table(c.DeficienciesTitle, deficiencyHeader, deficiencies,
                std::vector<double>(DeficiencyColumns.begin(), DeficiencyColumns.end()));
    }
    if (!c.Summary.empty()) {
        p.space(4);
        p.title(c.Summary.back().Label + QStringLiteral(": ") + c.Summary.back().Value, 12);
    }
    p.signatures();
    p.finish();
}

} // namespace

bool PrintCertificate(const TCommissioningCertificate& certificate, QPrinter& printer,
                      const TPrintMargins& margins, QString* error) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(false);
    if (!printer.setPageMargins(QMarginsF(margins.Left, margins.Top, margins.Right, margins.Bottom),
                                QPageLayout::Millimeter))
        return fail(error, EnglishText("The print margins leave no room for the report."));
    if (printer.logicalDpiX() <= 0 || printer.logicalDpiY() <= 0)
        return fail(error, EnglishText("The printer reports no resolution."));
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const qreal footHeight = QFontMetricsF(font(7), &printer).height() * 2.0;
    const QSizeF body(area.width(), area.height() - footHeight);
    if (body.width() < 1 || body.height() < footHeight * 12)
        return fail(error, EnglishText("The print margins leave no room for the report."));

    TRow branchHeader;
    for (int col = 0; col < certificate.Columns.size() && col < CertificateColumnCount; ++col)
        // The unit on a line of its own: "[l/h]" must not break at its slash.
        branchHeader.push_back(
            {QString(certificate.Columns.at(col)).replace(QStringLiteral(" ["), QStringLiteral("\n[")),
             IsCertificateNumberColumn(col),
             {}});
    std::vector<TRow> branches;
    branches.reserve(certificate.Rows.size());
    bool anyUncertain = false;
    for (const TCertificateRow& r : certificate.Rows) {
        TRow row;
        for (int col = 0; col < CertificateColumnCount; ++col)
            row.push_back(
                {r.Cells[static_cast<std::size_t>(col)].Text, IsCertificateNumberColumn(col),
                 col == CertificateColumnFinalFlow && r.Uncertain ? certificate.UncertainWord : QString()});
        anyUncertain = anyUncertain || r.Uncertain;
        branches.push_back(std::move(row));
    }
    const TRow deficiencyHeader = {{certificate.Columns.value(CertificateColumnBranch), false, {}},
                                   {certificate.Columns.value(CertificateColumnStatus), false, {}},
                                   {certificate.Columns.value(CertificateColumnRemark), false, {}}};
    std::vector<TRow> deficiencies;
    for (const TCertificateDeficiency& d : certificate.Deficiencies)
        deficiencies.push_back({{d.Branch, false, {}}, {d.Finding, false, {}}, {d.Remark, false, {}}});

    QPainter painter;
    if (!painter.begin(&printer))
        return fail(error, EnglishText("The printer could not start the print job."));
    // The first pass counts the pages for the foot's "of n".
    TCertificatePages count(painter, printer, body, footHeight, false, certificate, 0);
    layOut(count, certificate, branchHeader, branches, deficiencyHeader, deficiencies, anyUncertain);
    TCertificatePages pages(painter, printer, body, footHeight, true, certificate, count.page());
    layOut(pages, certificate, branchHeader, branches, deficiencyHeader, deficiencies, anyUncertain);
    if (!pages.ok()) {
        painter.end();
        return fail(error, EnglishText("The printer could not start a new page."));
    }
    if (!painter.end())
        return fail(error, EnglishText("The printer could not finish the print job."));
    return true;
}

bool PrintCertificateToPdf(const TCommissioningCertificate& certificate, const QString& pdfPath,
                           const TPrintMargins& margins, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(certificate.Title + QStringLiteral(" \u2013 ") + certificate.ProjectName);
    return PrintCertificate(certificate, printer, margins, error);
}
