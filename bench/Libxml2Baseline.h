// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

// The yardstick for our file loaders: libxml2 parsing the same UTF-16 bytes, already in memory, into
// a document tree.
inline void ParseWithLibxml2(benchmark::State& state, const QByteArray& bytes, const char* name) {
    for (auto _ : state) {
        xmlDocPtr doc =
            xmlReadMemory(bytes.constData(), static_cast<int>(bytes.size()), name, "UTF-16LE", XML_PARSE_NONET);
        if (!doc)
            state.SkipWithError("libxml2 did not parse the file");
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
