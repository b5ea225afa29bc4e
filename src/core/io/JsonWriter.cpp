#include "core/io/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <utility>

// Qt writes a lone value only inside a document, so the value goes into a one-element array
// and the brackets come off.
QByteArray JsonWriter::quoted(const QString &text) {
    const QByteArray a = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

QByteArray JsonWriter::numberText(double x) {
    const QByteArray a = QJsonDocument(QJsonArray{x}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

void JsonWriter::item() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_frames.empty())
        return;
    Frame &f = m_frames.back();
    if (f.empty)
        m_out += f.layout.open;
    else
        m_out += f.lineBreak ? f.layout.lineSeparator : f.layout.separator;
    f.empty = false;
    f.lineBreak = false;
}

JsonWriter &JsonWriter::begin(char bracket, const Layout &layout) {
    item();
    m_out += bracket;
    m_frames.push_back({layout});
    return *this;
}

JsonWriter &JsonWriter::end(char bracket) {
    if (!m_frames.back().empty)
        m_out += m_frames.back().layout.close;
    m_frames.pop_back();
    m_out += bracket;
    return *this;
}

JsonWriter &JsonWriter::beginObject(const Layout &layout) {
    return begin('{', layout);
}

JsonWriter &JsonWriter::endObject() {
    return end('}');
}

JsonWriter &JsonWriter::beginArray(const Layout &layout) {
    return begin('[', layout);
}

JsonWriter &JsonWriter::endArray() {
    return end(']');
}

JsonWriter &JsonWriter::key(const char *name) {
    item();
    m_out += '"';
    m_out += name;
    m_out += "\": ";
    m_afterKey = true;
    return *this;
}

JsonWriter &JsonWriter::breakLine() {
    m_frames.back().lineBreak = true;
    return *this;
}

JsonWriter &JsonWriter::string(const QString &text) {
    return json(quoted(text));
}

JsonWriter &JsonWriter::number(double x) {
    return json(numberText(x));
}

JsonWriter &JsonWriter::boolean(bool b) {
    return json(b ? QByteArrayLiteral("true") : QByteArrayLiteral("false"));
}

JsonWriter &JsonWriter::null() {
    return json(QByteArrayLiteral("null"));
}

JsonWriter &JsonWriter::json(const QByteArray &value) {
    item();
    m_out += value;
    return *this;
}

QByteArray JsonWriter::take() {
    return std::exchange(m_out, QByteArray());
}
