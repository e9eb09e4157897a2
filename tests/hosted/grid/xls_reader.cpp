#include "xls_reader.h"

#include <cstring>
#include <sstream>

namespace vk::grid::test {

namespace {
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return U16(p) | (static_cast<uint32_t>(U16(p + 2)) << 16); }

std::wstring Number(const char* prefix, double d) {
  std::wostringstream out;
  out.precision(15);
  out << prefix << d;
  return out.str();
}
}  // namespace

XlsSheet ReadXls(const std::vector<uint8_t>& file) {
  XlsSheet sheet;
  const uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (file.size() < 512 || std::memcmp(file.data(), sig, 8) != 0) {
    sheet.error = "no compound file signature";
    return sheet;
  }
  const size_t sectorSize = size_t{1} << U16(&file[30]);
  const uint32_t fatCount = U32(&file[44]);
  auto sector = [&](uint32_t s) -> const uint8_t* {
    const size_t at = (static_cast<size_t>(s) + 1) * sectorSize;
    return at + sectorSize <= file.size() ? &file[at] : nullptr;
  };
  std::vector<uint32_t> fatSectors;
  for (int i = 0; i < 109 && fatSectors.size() < fatCount; ++i) fatSectors.push_back(U32(&file[76 + 4 * i]));
  for (uint32_t d = U32(&file[68]); d < 0xFFFFFFFA && fatSectors.size() < fatCount;) {
    const uint8_t* p = sector(d);
    if (!p) { sheet.error = "DIFAT sector outside the file"; return sheet; }
    for (int j = 0; j < 127 && fatSectors.size() < fatCount; ++j) fatSectors.push_back(U32(p + 4 * j));
    d = U32(p + 508);
  }
  std::vector<uint32_t> fat;
  for (uint32_t s : fatSectors) {
    const uint8_t* p = sector(s);
    if (!p) { sheet.error = "FAT sector outside the file"; return sheet; }
    for (size_t j = 0; j < sectorSize / 4; ++j) fat.push_back(U32(p + 4 * j));
  }
  auto chain = [&](uint32_t start, size_t size) {
    std::vector<uint8_t> out;
    for (uint32_t s = start; s < 0xFFFFFFFA && out.size() < size; s = s < fat.size() ? fat[s] : 0xFFFFFFFE) {
      const uint8_t* p = sector(s);
      if (!p) break;
      out.insert(out.end(), p, p + sectorSize);
    }
    out.resize(std::min(out.size(), size));
    return out;
  };
  const std::vector<uint8_t> dir = chain(U32(&file[48]), 1 << 20);
  std::vector<uint8_t> book;
  for (size_t e = 0; e + 128 <= dir.size(); e += 128) {
    std::wstring name;
    for (int i = 0; i < 31 && U16(&dir[e + 2 * i]); ++i) name += static_cast<wchar_t>(U16(&dir[e + 2 * i]));
    if (name == L"Workbook" && dir[e + 66] == 2) book = chain(U32(&dir[e + 116]), U32(&dir[e + 120]));
  }
  if (book.empty()) { sheet.error = "no Workbook stream"; return sheet; }

  // Records; the shared strings may run on into CONTINUE records.
  std::vector<std::wstring> sst;
  std::vector<std::vector<uint8_t>> sstParts;
  bool inSst = false;
  bool globalsDone = false;
  std::map<uint16_t, bool> datedXf{{16, true}, {17, true}};
  for (size_t at = 0; at + 4 <= book.size();) {
    const uint16_t type = U16(&book[at]);
    const uint16_t len = U16(&book[at + 2]);
    if (at + 4 + len > book.size()) { sheet.error = "record runs past the stream"; return sheet; }
    const uint8_t* d = &book[at + 4];
    at += 4 + len;
    if (type == 0 && len == 0) break;  // padding
    sheet.recordTypes.push_back(type);
    if (type == 0x00FC) { inSst = true; sstParts.assign(1, std::vector<uint8_t>(d, d + len)); continue; }
    if (type == 0x00FF) {
      // Each bucket names where a string starts: its length field must be there.
      sheet.sstIndexBuckets = (len - 2) / 8;
      for (size_t b = 0; b < sheet.sstIndexBuckets; ++b) {
        const uint32_t ib = U32(d + 2 + 8 * b);
        const uint16_t inRecord = U16(d + 6 + 8 * b);
        if (ib + 3 > book.size() || inRecord < 4 || ib < inRecord) { sheet.error = "string index out of range"; return sheet; }
        const uint16_t recordType = U16(&book[ib - inRecord]);
        if (recordType != 0x00FC && recordType != 0x003C) { sheet.error = "string index not in the table"; return sheet; }
        sheet.sstIndexTargets.push_back(ib);
      }
    }
    if (type == 0x003C && inSst) { sstParts.emplace_back(d, d + len); continue; }
    inSst = false;
    if (type == 0x000A && !globalsDone) globalsDone = true;
    if (type == 0x00FD) {
      const uint32_t i = U32(d + 6);
      sheet.cells[{U16(d), U16(d + 2)}] = i < sst.size() ? sst[i] : L"<bad index>";
    } else if (type == 0x0203) {
      double v;
      std::memcpy(&v, d + 6, 8);
      sheet.cells[{U16(d), U16(d + 2)}] = Number(datedXf.count(U16(d + 4)) ? "d:" : "n:", v);
    } else if (type == 0x0205) {
      sheet.cells[{U16(d), U16(d + 2)}] = d[6] ? L"b:1" : L"b:0";
    }
    if (type == 0x000A && sst.empty() && !sstParts.empty()) {
      // Decode the string table: each string's characters may continue in the next part,
      // which then starts with a flags byte of its own.
      size_t part = 0, pos = 8;
      const uint32_t count = U32(&sstParts[0][4]);
      for (uint32_t s = 0; s < count; ++s) {
        if (pos >= sstParts[part].size()) { ++part; pos = 0; }
        if (part >= sstParts.size()) { sheet.error = "string table cut short"; return sheet; }
        const auto* p = sstParts[part].data();
        uint16_t cch = U16(p + pos);
        uint8_t flags = p[pos + 2];
        pos += 3;
        std::wstring str;
        while (cch > 0) {
          if (pos >= sstParts[part].size()) {
            ++part;
            if (part >= sstParts.size()) { sheet.error = "string cut short"; return sheet; }
            flags = sstParts[part][0];
            pos = 1;
          }
          const auto& buf = sstParts[part];
          if (flags & 1) { str += static_cast<wchar_t>(U16(&buf[pos])); pos += 2; }
          else { str += static_cast<wchar_t>(buf[pos]); pos += 1; }
          --cch;
        }
        sst.push_back(str);
      }
      sheet.sharedStrings = sst;
      sheet.sharedStringUses = U32(&sstParts[0][0]);
    }
  }
  return sheet;
}

}  // namespace vk::grid::test
