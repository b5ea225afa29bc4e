#pragma once

#include <QByteArray>
#include <QString>

#include <concepts>
#include <vector>

// Where whitespace goes in one object or array. An empty one is always written "{}" or "[]".
struct JsonLayout {
    const char *open = "";             // after the opening bracket, before the first item
    const char *separator = ", ";      // between two items
    const char *close = "";            // after the last item, before the closing bracket
    const char *lineSeparator = ",\n"; // between two items where breakLine() was called
};

// JSON written in the order the members are given, which QJsonObject does not keep (it sorts
// them), laid out as each output has always been laid out, so the files can be compared as text.
// string() and number() spell their values as Qt's JSON writer does (its escaping, its shortest
// number text); integer() as QByteArray::number.
//
//     JsonWriter w;
//     w.beginObject().key("from").integer(1).key("tiers").beginArray();
//     for (int n : tiers)
//         w.integer(n);
//     w.endArray().endObject();     // {"from": 1, "tiers": [0, 2]}
class JsonWriter {
public:
    using Layout = JsonLayout;
    // All on one line, as Qt's compact form writes it: no space after the commas.
    static constexpr Layout kCompact{.separator = ","};

    JsonWriter &beginObject(const Layout &layout = {});
    JsonWriter &endObject();
    JsonWriter &beginArray(const Layout &layout = {});
    JsonWriter &endArray();

    // A member's name, written as it is: plain ASCII names only.
    JsonWriter &key(const char *name);
    // The next item is preceded by the layout's lineSeparator instead of its separator.
    JsonWriter &breakLine();

    JsonWriter &string(const QString &text);
    JsonWriter &number(double x);
    template <std::integral T> JsonWriter &integer(T n) { return json(QByteArray::number(n)); }
    JsonWriter &boolean(bool b);
    JsonWriter &null();
    // A value already written as JSON (a string quoted earlier and kept, for instance).
    JsonWriter &json(const QByteArray &value);

    // What is written so far; take() hands it over and goes on with an empty buffer, so a long
    // output can be passed on in pieces.
    qsizetype size() const { return m_out.size(); }
    QByteArray take();

    // A JSON string literal, quotes included, and a number, as Qt's JSON writer writes them.
    static QByteArray quoted(const QString &text);
    static QByteArray numberText(double x);

private:
    struct Frame {
        Layout layout;
        bool empty = true;
        bool lineBreak = false;
    };
    void item();
    JsonWriter &begin(char bracket, const Layout &layout);
    JsonWriter &end(char bracket);

    QByteArray m_out;
    std::vector<Frame> m_frames;
    bool m_afterKey = false;
};
