#include "core/MeasurementReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "color/Colorimetry.h"
#include "core/Common.h"
#include "core/Cxf3Reader.h"
#include "core/Encoding.h"
#include "core/HeaderScan.h"
#include "core/LabFromColorimetry.h"
#include "core/TextFields.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

constexpr std::string_view kBeginData = "BEGIN_DATA";
constexpr std::string_view kEndData = "END_DATA";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Small enough that reading a file touches few pages of fresh memory, large
// enough that a read of a whole chart takes a handful of calls.
constexpr std::size_t kChunkSize = 16 * 1024;
// No measurement file has lines anywhere near this long.
constexpr std::size_t kMaxLineBytes = 64 * 1024 * 1024;
constexpr std::size_t kLongLineBytes = 1024 * 1024;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Lines end at CR LF, at CR, and at a bare LF, so files written on any
// platform read the same. Only the current line is held, however long it is.
// The first CR or LF in [start, stop), or stop.
const char* LineEnd(const char* start, const char* stop) {
  const auto length = static_cast<std::size_t>(stop - start);
  const auto* lf = static_cast<const char*>(std::memchr(start, '\n', length));
  const char* limit = lf != nullptr ? lf : stop;
  const auto* cr =
      static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(limit - start)));
  return cr != nullptr ? cr : limit;
}

class LineReader {
 public:
  enum class Status { kLine, kEnd, kError };

  explicit LineReader(std::FILE* file)
      : file_(file),
        chunk_(std::make_unique_for_overwrite<char[]>(kChunkSize)),
        buffer_(chunk_.get()) {}
  // A file already read whole.
  explicit LineReader(std::string_view whole)
      : buffer_(const_cast<char*>(whole.data())), size_(whole.size()) {}

  // Back to the first line, past a UTF-8 byte-order mark.
  bool Rewind() {
    begin_ = end_ = 0;
    eof_ = false;
    if (file_ == nullptr) {
      end_ = size_;
      eof_ = true;
    } else {
      if (std::fseek(file_, 0, SEEK_SET) != 0)
        return false;
      std::clearerr(file_);
    }
    if (!Fill(kUtf8Bom.size()))
      return false;
    if (std::string_view(buffer_ + begin_, end_ - begin_).starts_with(kUtf8Bom)) {
      begin_ += kUtf8Bom.size();
    }
    return true;
  }

  Status Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
      if (begin_ == end_ && !Fill(1))
        return Status::kError;
      if (begin_ == end_)
        return any ? Status::kLine : Status::kEnd;
      any = true;
      const char* start = buffer_ + begin_;
      const char* stop = buffer_ + end_;
      const char* p = LineEnd(start, stop);
      // Text past the cap is skipped up to the line's end, so a file without
      // line breaks costs bounded memory.
      const std::size_t room = kMaxLineBytes - std::min(kMaxLineBytes, line.size());
      // Doubling towards the cap would hold the old and the new copy at once
      // (about twice the cap); a line this long takes the whole cap at once,
      // whose pages are touched only as far as it is filled.
      if (line.size() >= kLongLineBytes && line.capacity() < kMaxLineBytes)
        line.reserve(kMaxLineBytes);
      line.append(start, std::min(static_cast<std::size_t>(p - start), room));
      begin_ += static_cast<std::size_t>(p - start);
      if (p == stop)
        continue;
      const char terminator = *p;
      ++begin_;
      if (terminator == '\r') {
        if (begin_ == end_ && !Fill(1))
          return Status::kError;
        if (begin_ != end_ && buffer_[begin_] == '\n')
          ++begin_;
      }
      return Status::kLine;
    }
  }

 private:
  // Makes at least `want` bytes available unless the file ends first.
  bool Fill(std::size_t want) {
    while (end_ - begin_ < want && !eof_) {
      if (begin_ > 0) {
        std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
      }
      const std::size_t got = std::fread(buffer_ + end_, 1, kChunkSize - end_, file_);
      end_ += got;
      if (got == 0) {
        if (std::ferror(file_))
          return false;
        eof_ = true;
      }
    }
    return true;
  }

  std::FILE* file_ = nullptr;  // none: the whole file is in buffer_
  std::unique_ptr<char[]> chunk_;
  char* buffer_;
  std::size_t size_ = 0;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
};

// Identifiers are decoded as UTF-8 when the whole file is UTF-8 and as CP932
// otherwise; a pure-ASCII file is both.
bool FileIsUtf8(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_SET) != 0)
    return false;
  const auto chunk = std::make_unique_for_overwrite<char[]>(kChunkSize);
  Utf8Validator validator;
  for (;;) {
    const std::size_t got = std::fread(chunk.get(), 1, kChunkSize, file);
    if (got == 0)
      break;
    validator.Feed(std::string_view(chunk.get(), got));
    if (validator.Broken())
      return false;
  }
  if (std::ferror(file))
    return false;
  return validator.Valid();
}

std::string_view TrimSpaces(std::string_view t) {
  while (!t.empty() && t.front() == ' ')
    t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ')
    t.remove_suffix(1);
  return t;
}

Measurement Failed(ReadFailure failure, std::string detail = {}) {
  Measurement result;
  result.failure = {failure, std::move(detail)};
  return result;
}

// The fields of one data line: column 0 takes the first, columns past the
// line's end are empty.
struct FieldList {
  const std::vector<std::string_view>& fields;
  std::string_view operator()(int column) const {
    const std::size_t i = column < 1 ? 0 : static_cast<std::size_t>(column - 1);
    return i < fields.size() ? fields[i] : std::string_view();
  }
};

float Cell(const FieldList& row, int column) {
  return ParseSingle(StripQuotes(row(column)));
}

// Device values are mostly whole percentages or 8-bit levels; those convert
// exactly without the general parser (every integer below 2^24 is a float).
float DeviceCell(const FieldList& row, int column) {
  const std::string_view text = row(column);
  if (text.empty() || text.size() > 7)
    return Cell(row, column);
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return Cell(row, column);
    value = value * 10 + (c - '0');
  }
  return static_cast<float>(value);
}

// What the data pass takes beyond L*a*b* and the shown identifiers: XYZ or
// band cells to compute L*a*b* from after the pass (their scale is known only
// then), both identifier columns, device values.
class DataColumns {
 public:
  DataColumns(LabSource source, const ExtraColumns& extra) : source_(source), extra_(extra) {
    auto reach = [this](int column) { last_ = std::max(last_, column); };
    if (source == LabSource::Xyz) {
      for (const int column : extra.xyz)
        reach(column);
    }
    if (source == LabSource::Spectral) {
      for (const BandColumn& band : extra.bands) {
        reach(band.column);
        reach(band.nmColumn);
        bandNm_.push_back(band.nm);
      }
    }
    for (const int column : extra.device)
      reach(column);
    reach(extra.sampleName);
    reach(extra.sampleId);
  }

  int Lines() const { return lines_; }
  // The last column a data line is split up to.
  void Reach(int& lastColumn) const { lastColumn = std::max(lastColumn, last_); }

  void Prepare(Measurement& info) const {
    info.sampleName.present = extra_.sampleName != 0;
    info.sampleId.present = extra_.sampleId != 0;
    info.device.space = extra_.deviceSpace;
  }

  void Take(const FieldList& row, int idColumn, const std::string& idText, bool utf8,
            Measurement& info) {
    ++lines_;
    if (source_ == LabSource::Xyz) {
      for (const int column : extra_.xyz)
        xyz_.push_back(Cell(row, column));
    } else if (source_ == LabSource::Spectral) {
      for (std::size_t k = 0; k < extra_.bands.size(); ++k) {
        const BandColumn& band = extra_.bands[k];
        // A SPECTRAL_NM/SPECTRAL_DEC pair names its wavelength in the cells;
        // the first data line's serve the whole file.
        if (band.nmColumn != 0 && !pairsNamed_)
          bandNm_[k] = static_cast<int>(std::lround(Cell(row, band.nmColumn)));
        bands_.push_back(Cell(row, band.column));
      }
      pairsNamed_ = true;
    }
    auto identifier = [&](int column) {
      if (column == idColumn)
        return idText;
      return StoredIdentifier(TrimSpaces(StripQuotes(row(column))), utf8);
    };
    if (info.sampleName.present)
      info.sampleName.values.push_back(identifier(extra_.sampleName));
    if (info.sampleId.present)
      info.sampleId.values.push_back(identifier(extra_.sampleId));
    if (info.device.space != DeviceSpace::None) {
      std::array<float, 4> values{};
      for (int c = 0; c < info.device.Channels(); ++c)
        values[static_cast<std::size_t>(c)] =
            DeviceCell(row, extra_.device[static_cast<std::size_t>(c)]);
      info.device.values.push_back(values);
    }
  }

  // L*a*b* of the n patches read, for XYZ and spectral files.
  FailureReason ComputeLab(const Declarations& declared, int n, Measurement& info) const {
    const StdIlluminant illuminant = WeightingIlluminant(declared.illuminant);
    const StdObserver observer = WeightingObserver(declared.observer);
    if (source_ == LabSource::Xyz) {
      AppendLabOfXyz(xyz_, ReferenceWhite(illuminant, observer), info.lab);
    } else if (source_ == LabSource::Spectral) {
      const SpectralWeights plan = PlanSpectralWeights(bandNm_, illuminant, observer);
      if (plan.fault == SpectralFault::Narrow)
        return {ReadFailure::SpectralNarrow, {}};
      if (plan.fault == SpectralFault::Gap)
        return {ReadFailure::SpectralGap, std::to_string(plan.faultNm)};
      std::vector<Xyz> xyz(static_cast<std::size_t>(n));
      WeighSpectra(plan, bands_, extra_.bands.size(), ReflectanceInPercent(bands_) ? 0.01 : 1.0,
                   xyz);
      for (const Xyz& colour : xyz)
        info.lab.push_back(StoredLab(XyzToLab(colour, plan.white)));
      info.spectralStepNm = plan.stepNm;
    }
    return {};
  }

 private:
  LabSource source_;
  const ExtraColumns& extra_;
  std::vector<float> xyz_;    // X, Y, Z per patch
  std::vector<float> bands_;  // every band per patch
  std::vector<int> bandNm_;
  bool pairsNamed_ = false;
  int last_ = 0;
  int lines_ = 0;
};

// Where the data section starts and how its lines are read.
struct DataPlan {
  LabSource source = LabSource::None;
  LabColumns lab;
  ExtraColumns extra;
  bool utf8 = false;
};

// Reads data lines up to END_DATA, the end of the file or the 3000th patch
// into `m`, and while `scan` searches for the LAB columns, feeds it every
// line it reads; false when the file broke off. `moved` tells whether the
// search changed the columns this pass used.
bool ReadData(LineReader& reader, const DataPlan& plan, HeaderScan* scan, DataColumns& taken,
              Measurement& m, bool& moved) {
  const int idColumn = plan.lab.Identifier();
  int lastColumn = std::max({1, idColumn, plan.lab.l, plan.lab.a, plan.lab.b});
  taken.Reach(lastColumn);
  std::vector<std::string_view> fields;
  fields.reserve(static_cast<std::size_t>(lastColumn));
  m.ids.present = idColumn >= 1;
  std::string line;
  int n = 0;
  for (;;) {
    const LineReader::Status st = reader.Next(line);
    if (st == LineReader::Status::kError)
      return false;
    if (st == LineReader::Status::kEnd)
      return true;
    const std::string_view text = line;
    if (scan != nullptr)
      moved = scan->FeedData(text) || moved;
    if (EqualsUpperAscii(text.substr(0, kEndData.size()), kEndData))
      break;
    if (n == kMaxPatches) {
      m.cutAt3000 = true;
      break;
    }
    // Field c is what the c-th split from the start gives (column 0 the
    // first), so one walk along the line serves all columns.
    SplitFields(text, lastColumn, fields);
    const FieldList row{fields};
    std::string id;
    if (idColumn >= 1) {
      id = StoredIdentifier(TrimSpaces(StripQuotes(row(idColumn))), plan.utf8);
      m.ids.values.push_back(id);
    }
    if (plan.source == LabSource::Lab)
      m.lab.push_back({Cell(row, plan.lab.l), Cell(row, plan.lab.a), Cell(row, plan.lab.b)});
    taken.Take(row, idColumn, id, plan.utf8, m);
    ++n;
  }
  // The LAB search reads to the end of the file.
  while (scan != nullptr && !scan->LabSearchDone()) {
    const LineReader::Status st = reader.Next(line);
    if (st == LineReader::Status::kError)
      return false;
    if (st == LineReader::Status::kEnd)
      break;
    moved = scan->FeedData(line) || moved;
  }
  return true;
}

// Back to the first data line; false when the file cannot be read again.
bool SkipToData(LineReader& reader) {
  if (!reader.Rewind())
    return false;
  std::string line;
  for (;;) {
    if (reader.Next(line) != LineReader::Status::kLine)
      return false;
    std::size_t pos = 1;
    if (EqualsUpperAscii(NextField(line, pos), kBeginData))
      return true;
  }
}

// The read's end: refusals that need the whole header, the 3000-patch
// notice, and L*a*b* from XYZ or spectra.
Measurement Finish(Measurement m, const DataPlan& plan, const DataColumns& taken,
                   const Declarations& declared, const HeaderScan& scan,
                   const TooManyPatchesNotice& notice) {
  const auto refuse = [&scan](ReadFailure failure, std::string detail = {}) {
    Measurement failed = Failed(failure, std::move(detail));
    failed.rowLength = scan.RowLength();
    return failed;
  };
  if (plan.source == LabSource::None)
    return refuse(ReadFailure::NoColourColumns);
  if (plan.source != LabSource::Lab && !declared.otherIlluminant.empty())
    return refuse(ReadFailure::UnknownIlluminant, declared.otherIlluminant);
  const int n = taken.Lines();
  if (n == 0)
    return refuse(ReadFailure::NoDataLines);
  if (m.cutAt3000 && notice)
    notice(kTooManyPatchesMessage);
  m.rowLength = scan.RowLength();
  m.illuminant = declared.illuminant;
  m.observer = declared.observer;
  m.condition = declared.condition;
  m.source = plan.source;
  const FailureReason computed = taken.ComputeLab(declared, n, m);
  if (computed.code != ReadFailure::None) {
    Measurement failed = refuse(computed.code, computed.detail);
    failed.cutAt3000 = m.cutAt3000;
    return failed;
  }
  return m;
}

LabSource SourceOf(const LabColumns& lab, const ExtraColumns& extra) {
  return lab.AllLab()           ? LabSource::Lab
         : extra.AllXyz()       ? LabSource::Xyz
         : !extra.bands.empty() ? LabSource::Spectral
                                : LabSource::None;
}

// CxF3 files are XML: their first character is '<' (after a byte-order mark
// and white space). This much of a file shows it.
constexpr std::size_t kXmlHeadBytes = 4096;

// A file up to this size is read whole with one call and its lines taken
// from memory; a larger one is read a chunk at a time.
constexpr std::size_t kWholeFileBytes = 8 << 20;

Measurement ReadLines(LineReader& reader, bool utf8, const TooManyPatchesNotice& notice);

bool StartsAsXml(std::FILE* file) {
  char head[kXmlHeadBytes];
  if (std::fseek(file, 0, SEEK_SET) != 0)
    return false;
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  return LooksLikeXml(std::string_view(head, got));
}

Measurement RefusedCxf3(ReadFailure failure, const std::string& path) {
  Measurement m = Failed(failure);
  m.path = path;
  m.format = FileFormat::Cxf3;
  return m;
}

// A CxF3 file is parsed whole, so one above the size the parser is allowed is
// refused before it is read.
Measurement ReadCxf3Stream(std::FILE* file, const std::string& path,
                           const TooManyPatchesNotice& notice) {
  if (std::fseek(file, 0, SEEK_END) != 0)
    return RefusedCxf3(ReadFailure::Unreadable, path);
  const long size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0)
    return RefusedCxf3(ReadFailure::Unreadable, path);
  if (static_cast<std::size_t>(size) > kMaxCxfBytes)
    return RefusedCxf3(ReadFailure::CxfTooLarge, path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  if (std::ferror(file))
    return RefusedCxf3(ReadFailure::Unreadable, path);
  return ReadCxf3(bytes, path, notice);
}

Measurement ReadCgats(std::FILE* file, const TooManyPatchesNotice& notice) {
  const bool utf8 = FileIsUtf8(file);
  LineReader reader(file);
  return ReadLines(reader, utf8, notice);
}

Measurement ReadAnyFormat(std::FILE* file, const std::string& path,
                          const TooManyPatchesNotice& notice) {
  if (StartsAsXml(file))
    return ReadCxf3Stream(file, path, notice);
  Measurement m = ReadCgats(file, notice);
  m.path = path;
  return m;
}

// Either reader on bytes already in memory.
Measurement ReadAnyFormat(std::string_view text, const std::string& path,
                          const TooManyPatchesNotice& notice) {
  if (LooksLikeXml(text.substr(0, kXmlHeadBytes)))
    return text.size() > kMaxCxfBytes ? RefusedCxf3(ReadFailure::CxfTooLarge, path)
                                      : ReadCxf3(text, path, notice);
  LineReader reader(text);
  Measurement m = ReadLines(reader, IsValidUtf8(text), notice);
  m.path = path;
  return m;
}

// The whole of a regular file, or nothing when it is larger than
// kWholeFileBytes or grows while it is read; `failed` when a read fails.
std::unique_ptr<char[]> ReadWhole(int fd, std::size_t& size, bool& failed) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_size < 0 ||
      static_cast<std::size_t>(st.st_size) > kWholeFileBytes)
    return nullptr;
  const auto expected = static_cast<std::size_t>(st.st_size);
  auto data = std::make_unique_for_overwrite<char[]>(expected + 1);
  size = 0;
  while (size <= expected) {
    const ssize_t got = ::read(fd, data.get() + size, expected + 1 - size);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0) {
      failed = true;
      return nullptr;
    }
    if (got == 0)
      return data;
    size += static_cast<std::size_t>(got);
  }
  return nullptr;  // it grew
}

Measurement ReadLines(LineReader& reader, bool utf8, const TooManyPatchesNotice& notice) {
  std::string line;
  if (!reader.Rewind())
    return Failed(ReadFailure::Unreadable);

  // The header: every line up to BEGIN_DATA.
  HeaderScan scan;
  bool begun = false;
  for (;;) {
    const LineReader::Status st = reader.Next(line);
    if (st == LineReader::Status::kError)
      return Failed(ReadFailure::Unreadable);
    if (st == LineReader::Status::kEnd)
      break;
    std::size_t pos = 1;
    if (EqualsUpperAscii(NextField(line, pos), kBeginData)) {
      begun = true;
      // Field names on the BEGIN_DATA line itself count for the LAB search.
      scan.FeedData(line);
      break;
    }
    scan.Feed(line);
  }
  // What the header said stays known, whatever becomes of the data.
  const auto refuse = [&scan](ReadFailure failure, std::string detail = {}) {
    Measurement m = Failed(failure, std::move(detail));
    m.rowLength = scan.RowLength();
    return m;
  };
  if (!begun) {
    // The LAB search may still take a row length from the lines it read.
    return refuse(ReadFailure::NoBeginData);
  }

  DataPlan plan{SourceOf(scan.Lab(), scan.Columns()), scan.Lab(), scan.Columns(), utf8};
  const Declarations declared = scan.Declared();
  Measurement m;
  bool moved = false;
  DataColumns taken(plan.source, plan.extra);
  taken.Prepare(m);
  if (!ReadData(reader, plan, &scan, taken, m, moved))
    return refuse(ReadFailure::Unreadable);  // a file that breaks off is not trusted in part
  if (moved) {
    // A data line named the LAB or identifier columns after all: the
    // header pass that found them would have read every line with them.
    plan.lab = scan.Lab();
    plan.source = SourceOf(plan.lab, plan.extra);
    m = Measurement{};
    DataColumns again(plan.source, plan.extra);
    again.Prepare(m);
    bool unused = false;
    if (!SkipToData(reader) || !ReadData(reader, plan, nullptr, again, m, unused))
      return refuse(ReadFailure::Unreadable);
    return Finish(std::move(m), plan, again, declared, scan, notice);
  }
  return Finish(std::move(m), plan, taken, declared, scan, notice);
}

}  // namespace

Measurement ReadMeasurementFile(const std::string& path, const TooManyPatchesNotice& notice) {
  // Devices and pipes may never end (a dropped /dev/zero); folders have no
  // lines. Only regular files are measurement files.
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  ReadFailure failure = ReadFailure::None;
  if (!std::filesystem::exists(status))
    failure = ReadFailure::Missing;
  else if (!std::filesystem::is_regular_file(status))
    failure = ReadFailure::NotRegularFile;
  const int fd = failure == ReadFailure::None ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  if (fd < 0) {
    Measurement m = Failed(failure == ReadFailure::None ? ReadFailure::Unreadable : failure);
    m.path = path;
    return m;
  }
  std::size_t size = 0;
  bool failed = false;
  const std::unique_ptr<char[]> whole = ReadWhole(fd, size, failed);
  if (whole) {
    ::close(fd);
    return ReadAnyFormat(std::string_view(whole.get(), size), path, notice);
  }
  if (failed || ::lseek(fd, 0, SEEK_SET) != 0) {
    ::close(fd);
    Measurement m = Failed(ReadFailure::Unreadable);
    m.path = path;
    return m;
  }
  FilePtr file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    Measurement m = Failed(ReadFailure::Unreadable);
    m.path = path;
    return m;
  }
  return ReadAnyFormat(file.get(), path, notice);
}

Measurement ReadMeasurementStream(std::FILE* file, const TooManyPatchesNotice& notice) {
  return ReadAnyFormat(file, {}, notice);
}

}  // namespace korimo
