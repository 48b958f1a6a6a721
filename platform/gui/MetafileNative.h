// The metafile recorder's own form of its records: written into every
// enhanced metafile it saves (as a private comment record), so that the
// recorder reads its own files back exactly; metafiles of other programs
// lack it and are refused.
//
// The rule a caller must know: the reader trusts nothing; a truncated or
// damaged block raises EInvalidGraphic.
//
//     std::vector<uint8_t> b = gui::EncodeMetaRecords(mf.Records(), w, h);
//     gui::DecodeMetaRecords(b.data(), b.size(), records, w, h);
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gui/Metafile.h"

namespace gui {

// The identifier the block starts with.
inline constexpr char kMetaRecordsTag[8] = {'T', 'E', 'C', 'M', 'E', 'T', 'A', '1'};

std::vector<uint8_t> EncodeMetaRecords(const std::vector<TMetaRecord>& records, int width, int height);
// False when the bytes do not start with the tag; raises EInvalidGraphic
// when they do but are damaged.
bool DecodeMetaRecords(const uint8_t* data, std::size_t size, std::vector<TMetaRecord>& records, int& width,
                       int& height);

// The recorder's block inside enhanced-metafile bytes; raises
// EInvalidGraphic for bytes that are no enhanced metafile and for one
// written by another program.
void ReadRecorderEmf(const std::vector<uint8_t>& emf, std::vector<TMetaRecord>& records, int& width, int& height);

} // namespace gui
