#pragma once

#include "BspLoader.h"

#include <QStringList>

namespace DoradoTest {

// Keeps every line a load logs.
struct RecordingLog final : Dorado::BspLog
{
    QStringList infos;
    QStringList errors;
    void Info(const QString& m) override { infos << m; }
    void Error(const QString& m) override { errors << m; }
};

inline bool Load(const std::vector<uint8_t>& file, Dorado::BspMap& map, RecordingLog& log, int level = 4)
{
    return Dorado::LoadBspFromMemory(file.data(), file.size(), QStringLiteral("test.bsp"), level, map, &log);
}

}  // namespace DoradoTest
