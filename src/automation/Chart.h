#pragma once

#include "automation/CellRef.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace qorv::automation {

class Range;
class Workbook;
class Worksheet;

// Enumeration values of the chart calls, as the report hands them over.
namespace xl {
inline constexpr int XYScatterSmoothNoMarkers = 73;
inline constexpr int ColumnClustered = 51;
inline constexpr int Columns = 2;           // plot by columns
inline constexpr int LocationAsObject = 2;  // chart embedded in a worksheet
inline constexpr int LocationAsNewSheet = 1;
inline constexpr int Category = 1;  // axis types
inline constexpr int Value = 2;
inline constexpr int Primary = 1;  // axis groups
inline constexpr int Secondary = 2;
inline constexpr int None = -4142;
inline constexpr int Automatic = -4105;  // axis crossing
inline constexpr int Minimum = 4;
inline constexpr int Maximum = 2;
inline constexpr int Medium = -4138;
inline constexpr int Thin = 2;
inline constexpr int Thick = 4;
inline constexpr int Hairline = 1;
inline constexpr int Continuous = 1;
inline constexpr int Dash = -4115;  // line styles
inline constexpr int DashDot = 4;
inline constexpr int Solid = 1;
inline constexpr int MarkerSquare = 1;
inline constexpr int EdgeLeft = 7;
inline constexpr int EdgeTop = 8;
inline constexpr int EdgeBottom = 9;
inline constexpr int EdgeRight = 10;
inline constexpr int InsideVertical = 11;
inline constexpr int InsideHorizontal = 12;
inline constexpr int Center = -4108;
inline constexpr int PaperA4 = 9;
inline constexpr int Portrait = 1;  // page orientations
inline constexpr int Landscape = 2;
inline constexpr int TypePDF = 0;
}  // namespace xl

// Width in points of a series line of a border weight (hairline, thin, medium, thick), as the
// saved chart and the drawn chart both use it.
double SeriesLineWidth(int weight);

// One data series of a chart: where its values are and how it is drawn. Colours are packed
// RGB numbers, red in the low byte (255 red, 16711680 blue).
class Series {
  public:
    // Name: a literal set through setName, else the header cell it was read with, else none.
    QString name() const;
    void setName(const QString& name);
    int axisGroup() const { return axisGroup_; }
    void setAxisGroup(int group);

    // Border: the line of a line series, the outline of a column series.
    class Border {
      public:
        explicit Border(Series& series) : series_(series) {}
        void setColor(int color);
        void setWeight(int weight);
        void setLineStyle(int lineStyle);
        int color() const;
        int weight() const;

      private:
        Series& series_;
    };
    // Interior: the fill of a column series.
    class Interior {
      public:
        explicit Interior(Series& series) : series_(series) {}
        void setColor(int color);
        void setPattern(int pattern);
        int color() const;
        int pattern() const;

      private:
        Series& series_;
    };
    Border border() { return Border(*this); }
    Interior interior() { return Interior(*this); }

    // XValues, Values and a name read from a cell, for a series added by NewSeries: each a
    // range of one column, all on one worksheet.
    void setXValues(const Range& range);
    void setValues(const Range& range);
    void setNameFrom(const Range& cell);

    void setMarkerStyle(int style);
    void setMarkerSize(int size);
    void setMarkerForegroundColor(int color);
    void setMarkerBackgroundColor(int color);
    int markerStyle() const;
    int markerSize() const { return markerSize_.value_or(5); }

    // Where the values are, for the chart writer.
    Worksheet* sheet = nullptr;
    RangeRef xValues;
    RangeRef yValues;
    std::optional<CellRef> nameCell;
    std::optional<QString> literalName;
    int axisGroup_ = 1;
    std::optional<std::uint32_t> lineColor;
    std::optional<int> lineWeight;
    bool lineNone = false;
    int lineStyle = xl::Continuous;  // Continuous, Dash or DashDot
    std::optional<std::uint32_t> fillColor;
    std::optional<int> fillPattern;
    std::optional<int> markerStyle_;
    std::optional<int> markerSize_;
    std::optional<std::uint32_t> markerForeground;
    std::optional<std::uint32_t> markerBackground;
};

// One axis: scale, units, crossing, order, display unit and grid lines. Unset optionals are
// "automatic".
class Axis {
  public:
    void setMinimumScale(double value);
    void setMaximumScale(double value);
    void setMinimumScaleIsAuto(bool automatic);
    void setMaximumScaleIsAuto(bool automatic);
    void setMajorUnit(double value);
    void setMajorUnitIsAuto(bool automatic);
    void setMinorUnit(double value);
    void setMinorUnitIsAuto(bool automatic);
    void setCrosses(int crosses);
    void setReversePlotOrder(bool reverse);
    void setDisplayUnit(int unit);
    void setHasMajorGridlines(bool has) { majorGridlines = has; }
    void setHasMinorGridlines(bool has) { minorGridlines = has; }

    bool minimumScaleIsAuto() const { return !minimum.has_value(); }
    bool maximumScaleIsAuto() const { return !maximum.has_value(); }
    bool majorUnitIsAuto() const { return !majorUnit.has_value(); }
    bool minorUnitIsAuto() const { return !minorUnit.has_value(); }

    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> majorUnit;
    std::optional<double> minorUnit;
    int crosses = xl::Automatic;
    bool reversePlotOrder = false;
    int displayUnit = xl::None;
    bool majorGridlines = false;
    bool minorGridlines = false;
};

// A chart: its type, its series read from a block of cells, its axes, title and legend. It
// lives on a chart sheet after Charts.Add and inside a worksheet after Location.
//
//   Chart& chart = book.charts().add(&dataSheet);
//   chart.setChartType(xl::XYScatterSmoothNoMarkers);
//   chart.setSourceData(dataSheet.range("A5:C100"), xl::Columns);
//   Chart& placed = chart.location(xl::LocationAsObject, "Лист1");
class Chart {
  public:
    explicit Chart(Workbook& workbook);

    int chartType() const { return chartType_; }
    void setChartType(int type);

    // Series by columns: the first column gives x values (categories), every further column
    // holding any value gives a series. A first row of text names the series.
    void setSourceData(const Range& source, int plotBy = xl::Columns);

    // Moves the chart into the worksheet of that name as an embedded object; the chart sheet
    // it stood on disappears. Throws when there is no such worksheet.
    Chart& location(int where, const QString& sheetName);

    // Whether the chart shows a title: as set, else the spreadsheet's default (a title for a
    // chart of one series, none for more).
    bool hasTitle() const;
    void setHasTitle(bool has) { hasTitle_ = has; }
    // The title's text as spreadsheet programs show it: the series' name for a chart of one
    // series with a title, else empty. The saved chart carries it, so every program and the
    // printed copy show the same.
    QString titleText() const;
    std::optional<bool> titleSetting() const { return hasTitle_; }
    // ChartTitle.Text: a title of its own, shown while the chart has a title.
    void setTitleText(const QString& text) { titleText_ = text; }

    // Legend.Delete
    class Legend {
      public:
        explicit Legend(Chart& chart) : chart_(chart) {}
        void remove() { chart_.hasLegend_ = false; }

      private:
        Chart& chart_;
    };
    Legend legend() { return Legend(*this); }
    bool hasLegend() const { return hasLegend_; }
    void setHasLegend(bool has) { hasLegend_ = has; }

    // Axes(type, group): type 1 category (the time axis), 2 value; group 2 exists only while
    // a series is on the secondary axis group.
    Axis& axes(int type, int group = xl::Primary);
    const Axis& axis(int type, int group) const;
    bool hasSecondaryAxes() const;

    // SeriesCollection(index), 1-based; throws when there is no such series.
    Series& seriesCollection(int index);
    // SeriesCollection.NewSeries: a series without values after the others, on the primary
    // axis group; its ranges are set next.
    Series& newSeries();
    int seriesCount() const { return int(series_.size()); }
    const std::vector<Series>& series() const { return series_; }

    Workbook& workbook() const { return workbook_; }

  private:
    Workbook& workbook_;
    int chartType_ = xl::ColumnClustered;
    std::vector<Series> series_;
    std::array<Axis, 4> axes_;  // category/value x primary/secondary
    std::optional<bool> hasTitle_;
    std::optional<QString> titleText_;
    bool hasLegend_ = true;
};

}  // namespace qorv::automation
