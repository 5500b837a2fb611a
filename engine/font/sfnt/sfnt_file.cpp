// The sfnt container. The tables are complete in memory when it is written,
// so the directory's offsets and checksums are known before its first byte.
#include "engine/font/sfnt/sfnt_file.hpp"

#include <algorithm>
#include <limits>

#include "engine/font/sfnt/sfnt_tags.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;  // TrueType outlines or none: not 'OTTO'
constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kRecordBytes = 16;
constexpr std::size_t kCheckSumAdjustmentOffset = 8;  // in head

std::uint64_t padded(std::uint64_t bytes) { return (bytes + 3) / 4 * 4; }

// The directory's binary-search fields: the largest power of two not above
// count, times 16, its exponent, and what the records hold beyond it.
void put_search_fields(SfntBytes& out, std::uint16_t count) {
  std::uint16_t power = 1;
  std::uint16_t exponent = 0;
  while (power * 2 <= count) {
    power = static_cast<std::uint16_t>(power * 2);
    ++exponent;
  }
  const auto search_range = static_cast<std::uint16_t>(power * kRecordBytes);
  out.u16(search_range);
  out.u16(exponent);
  out.u16(static_cast<std::uint16_t>(count * kRecordBytes - search_range));
}

}  // namespace

std::uint32_t sfnt_checksum(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t sum = 0;
  std::size_t at = 0;
  for (; at + 4 <= count; at += 4) {
    sum += (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
  }
  for (unsigned shift = 24; at < count; ++at, shift -= 8) sum += std::uint32_t{bytes[at]} << shift;
  return sum;
}

ResultCode write_sfnt_file(OutputFile& file, std::vector<SfntTable>& tables, ErrorDetail* detail) {
  const auto count = static_cast<std::uint16_t>(tables.size());
  std::uint64_t end = kHeaderBytes + kRecordBytes * tables.size();
  for (const SfntTable& table : tables) end += padded(table.data.size());
  if (end > std::numeric_limits<std::uint32_t>::max()) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kBadArgument);
  }

  // head.checkSumAdjustment counts as zero in every sum, its own table's too.
  SfntTable* head = nullptr;
  for (SfntTable& table : tables) {
    if (table.tag == kTagHead) head = &table;
  }
  if (head != nullptr) head->data.set_u32(kCheckSumAdjustmentOffset, 0);

  std::vector<std::size_t> by_tag(tables.size());
  for (std::size_t i = 0; i < by_tag.size(); ++i) by_tag[i] = i;
  std::sort(by_tag.begin(), by_tag.end(),
            [&tables](std::size_t a, std::size_t b) { return tables[a].tag < tables[b].tag; });
  std::vector<std::uint32_t> offsets(tables.size());
  std::uint64_t offset = kHeaderBytes + kRecordBytes * tables.size();
  for (std::size_t i = 0; i < tables.size(); ++i) {
    offsets[i] = static_cast<std::uint32_t>(offset);
    offset += padded(tables[i].data.size());
  }

  SfntBytes directory;
  directory.u32(kTrueTypeVersion);
  directory.u16(count);
  put_search_fields(directory, count);
  std::uint32_t file_sum = 0;
  for (const std::size_t index : by_tag) {
    const SfntTable& table = tables[index];
    const std::uint32_t sum = sfnt_checksum(table.data.bytes().data(), table.data.size());
    file_sum += sum;
    directory.u32(table.tag);
    directory.u32(sum);
    directory.u32(offsets[index]);
    directory.u32(static_cast<std::uint32_t>(table.data.size()));
  }
  file_sum += sfnt_checksum(directory.bytes().data(), directory.size());
  if (head != nullptr) head->data.set_u32(kCheckSumAdjustmentOffset, kChecksumMagic - file_sum);

  static constexpr std::uint8_t kPadding[3] = {};
  ResultCode result = file.write_exact(directory.bytes().data(), directory.size(), detail);
  for (std::size_t i = 0; i < tables.size() && succeeded(result); ++i) {
    const std::vector<std::uint8_t>& bytes = tables[i].data.bytes();
    result = file.write_exact(bytes.data(), bytes.size(), detail);
    if (succeeded(result)) {
      // At most three bytes, so the count fits any size_t.
      const auto padding = static_cast<std::size_t>(padded(bytes.size()) - bytes.size());
      result = file.write_exact(kPadding, padding, detail);
    }
  }
  return result;
}

}  // namespace vellicor
