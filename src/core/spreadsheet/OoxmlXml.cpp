// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/OoxmlXml.h"

namespace {

constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

} // namespace

QString localName(const pugi::xml_node& node) {
    const QString name = QString::fromUtf8(node.name());
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? name : name.mid(colon + 1);
}

bool isElement(const pugi::xml_node& node, const char* local) {
    return node.type() == pugi::node_element && localName(node) == QLatin1String(local);
}

pugi::xml_node child(const pugi::xml_node& parent, const char* local) {
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (isElement(n, local))
            return n;
    return {};
}

std::string siblingName(const pugi::xml_node& parent, const char* local) {
    const std::string parentName = parent.name();
    const auto colon = parentName.find(':');
    return colon == std::string::npos ? std::string(local) : parentName.substr(0, colon + 1) + local;
}

QString attribute(const pugi::xml_node& node, const char* name) {
    return QString::fromUtf8(node.attribute(name).value());
}

bool parseXml(const QByteArray& bytes, pugi::xml_document* doc) {
    return bytes.size() > 0 &&
           doc->load_buffer(bytes.constData(), size_t(bytes.size()), ParseFlags, pugi::encoding_auto);
}

QByteArray serializeXml(const pugi::xml_document& doc, const QByteArray& original) {
    struct TWriter : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override {
            bytes.append(static_cast<const char*>(data), qsizetype(size));
        }
    } writer;
    const pugi::xml_node root = doc.document_element();
    const qsizetype rootStart = original.indexOf(QByteArray("<") + root.name());
    if (rootStart > 0)
        writer.bytes = original.left(rootStart);
    root.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.bytes;
}
