#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace qorv::automation {

// The one XML writer of the package: appends UTF-8 markup straight to a byte buffer,
// numbers through std::to_chars (shortest form that reads back to the same double).
//
//   XmlWriter w(out);
//   w.start("row").attr("r", 5).end();        // <row r="5"/>
//   w.start("c").attr("r", "A5").close(); w.text(u"x"); w.close("c");
class XmlWriter {
  public:
    explicit XmlWriter(std::string& out) : out_(out) {}

    void declaration() {
        out_.append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
    }
    // "<name"; attributes may follow, then close() for content or end() for an empty element.
    XmlWriter& start(std::string_view name) {
        out_.push_back('<');
        out_.append(name);
        return *this;
    }
    XmlWriter& attr(std::string_view name, std::string_view value);
    XmlWriter& attr(std::string_view name, const char* value) {
        return attr(name, std::string_view(value));
    }
    XmlWriter& attr(std::string_view name, QStringView value) {
        return attribute(name, [&] { appendEscaped(out_, value); });
    }
    XmlWriter& attr(std::string_view name, const QString& value) {
        return attr(name, QStringView(value));
    }
    XmlWriter& attr(std::string_view name, long long value) {
        return attribute(name, [&] { appendInteger(out_, value); });
    }
    XmlWriter& attr(std::string_view name, int value) { return attr(name, (long long)value); }
    XmlWriter& attr(std::string_view name, unsigned value) { return attr(name, (long long)value); }
    XmlWriter& attrNumber(std::string_view name, double value) {
        return attribute(name, [&] { appendNumber(out_, value); });
    }
    void close() { out_.push_back('>'); }
    void end() { out_.append("/>"); }
    void close(std::string_view name) {
        out_.append("</");
        out_.append(name);
        out_.push_back('>');
    }
    void text(QStringView text) { appendEscaped(out_, text); }
    void raw(std::string_view text) { out_.append(text); }
    // <name>text</name>
    void element(std::string_view name, QStringView text);
    // <name val="value"/>, the chart part's usual form.
    void val(std::string_view name, std::string_view value) {
        start(name).attr("val", value).end();
    }
    void val(std::string_view name, long long value) { start(name).attr("val", value).end(); }
    void valNumber(std::string_view name, double value) {
        start(name).attrNumber("val", value).end();
    }

    std::string& buffer() { return out_; }

    // Appends text as UTF-8 with & < > " escaped; characters XML cannot hold are dropped. The
    // one escaper of the package: attribute values given as UTF-8 bytes go through it too.
    static void appendEscaped(std::string& out, QStringView text);
    static void appendNumber(std::string& out, double value);
    // Writes the number as appendNumber appends it at `at`, which has room for 24 characters;
    // returns the end.
    static char* writeNumber(char* at, double value);
    static void appendInteger(std::string& out, long long value);

  private:
    // ` name="value"`, the value appended by `value()`.
    template <typename Append>
    XmlWriter& attribute(std::string_view name, Append value) {
        out_.push_back(' ');
        out_.append(name);
        out_.append("=\"");
        value();
        out_.push_back('"');
        return *this;
    }

    std::string& out_;
};

}  // namespace qorv::automation
