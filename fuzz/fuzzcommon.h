#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: the input as a QByteArray, debug lines silenced (the parsers log
// every refusal, which would only slow the run), and a check that aborts with a message so
// that libFuzzer records the input as a finding.

inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
}

#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                              \
        }                                                                              \
    } while (false)

#define FUZZ_QUIET_INIT                                               \
    extern "C" int LLVMFuzzerInitialize(int*, char***)                \
    {                                                                 \
        silenceQtMessages();                                          \
        return 0;                                                     \
    }
