// SPDX-License-Identifier: GPL-3.0-or-later
// The XML dialect's pull reader over any bytes, with every typed read of every element.
#include "FuzzInput.h"

#include "files/ConversionError.h"
#include "files/XmlLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CXmlLoad xml(QLocale::c());
    xml.OpenBytes(fuzzBytes(data, size));
    xml.CheckHeader();
    QString text;
    std::int32_t whole = 0;
    std::int16_t shortValue = 0;
    std::uint16_t word = 0;
    double number = 0;
    while (!xml.AtEnd()) {
        xml.ReadTag();
        const QString name = xml.Name();
        FUZZ_CHECK(xml.GetText(name, text) && text == xml.Value());
        FUZZ_CHECK(xml.GetDouble(name, number));
        try {
            xml.GetInt(name, whole);
            xml.GetShort(name, shortValue);
            xml.GetShort(name, word);
        } catch (const TConversionError&) {
        }
    }
    return 0;
}
