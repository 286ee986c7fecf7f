#pragma once

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <memory>
#include <string>
#include <vector>

class QRawFont;

namespace qorv::automation {

class PdfDocument;

// Turns what a QPainter draws into a page's content operators: paths, lines, rectangles and
// polygons filled and stroked with solid pens and brushes (caps, joins, dashes), clipping,
// pictures, and text as glyphs of the document's embedded fonts (outlines for a font that
// cannot be embedded). Coordinates reach the content in points from the page's top-left,
// every transformation applied here.
class PdfPaintEngine : public QPaintEngine {
  public:
    explicit PdfPaintEngine(PdfDocument& document);
    ~PdfPaintEngine() override;

    // Where the next painting writes to.
    void setContent(std::string* content) { content_ = content; }

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;
    void drawTextItem(const QPointF& origin, const QTextItem& item) override;
    Type type() const override { return QPaintEngine::User; }

    // Glyphs of a font at their baseline origins (in the painter's coordinates), filled in the
    // pen's colour; `text` is what they read as when the glyphs map one to one to characters
    // by the font's own character map.
    void drawGlyphs(const QRawFont& font, const quint32* glyphs, const QPointF* origins, int count,
                    QStringView text = {});

  private:
    void setClip(const QPainterPath& path, Qt::ClipOperation operation);
    void writeClip();
    void writePath(const QPainterPath& path);
    void writeStrokeState();
    void writeFillColour(const QColor& colour);
    // Fills and strokes what was just written as the pen and brush say (`fill` false: stroke
    // only), with the fill rule of `oddEven`.
    void paintWritten(bool fill, bool oddEven);
    void point(const QPointF& p);

    PdfDocument& document_;
    QPaintDevice* device_ = nullptr;
    std::string* content_ = nullptr;
    QTransform matrix_;
    QPen pen_;
    QBrush brush_;
    std::vector<QPainterPath> clips_;  // on the page, intersected
    bool clipEnabled_ = false;
    // What the content has set since its last "q": empty when unknown.
    std::string strokeState_;
    std::string fillColour_;
};

// A page of a PdfDocument as a device a QPainter draws on, in points (72 per inch).
//
//     PdfPageDevice page(document);
//     page.setPage(&content, QSizeF(595, 842));
//     QPainter painter(&page);
class PdfPageDevice : public QPaintDevice {
  public:
    explicit PdfPageDevice(PdfDocument& document);
    ~PdfPageDevice() override;

    // The next painting writes onto `content`, on paper of `size` points.
    void setPage(std::string* content, const QSizeF& size);
    QPaintEngine* paintEngine() const override;
    PdfPaintEngine& engine() { return *engine_; }

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    std::unique_ptr<PdfPaintEngine> engine_;
    QSizeF size_;
};

}  // namespace qorv::automation
