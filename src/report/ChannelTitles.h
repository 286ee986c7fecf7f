#pragma once

#include <QString>

namespace qorv {

struct ProgramState;

// Removes, letter case ignored and one after the other, "Канал", "данных", "(", ")", " ",
// "-", "1", "2", "байта", "байт" and "." — what remains of a channel caption is its unit:
// "Канал данных 1 байт (Есть/Нет)" leaves "Есть/Нет".
QString CleanChannelTitle(const QString& text);

// The column headings of the printed table.
QString Channel1Heading(const ProgramState& state);             // one-channel table
QString Channel1HeadingTwoChannels(const ProgramState& state);  // "CKT" with the MKT on
QString Channel2Heading(const ProgramState& state);

}  // namespace qorv
