#pragma once
// The vector file procedures. Each returns the error flag `erf`: 0 success, 1 failure.
// They work on text in memory and keep nothing between calls; messages go to the caller's
// messenger. The only files they touch are the source a Read is asked to read, the side
// log of a failed scan in the folder the caller names, and the file VectorFileWrite is
// asked to write; both are replaced whole (base/file_replace.hpp). None takes a lock: they
// may run in several threads at once.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// Whom the Read step and the reader's checks talk to: the checks read "skip vector file
// format chek" live, findings go to the messenger, progress and stops to the feedback.
struct ReadHooks {
    const SettingsSource& settings;
    Messenger& messenger;
    Feedback& feedback;
};

// The name the scan's side log gives the text the Read step scans: the normalised copy of
// the source has always been called so there, though it is no longer a file.
inline constexpr const char* kNormalisedCopyName = "temp1.tmp";

// The scan's side log, in the folder its caller names (the front ends: their working folder).
inline constexpr const char* kScanLogFile = "VectorFileSize.log";

// The text with the trailing commas of every line removed and every line ended CR LF.
std::string filecomma(std::string_view text);

// Scans and validates normalised vector file text and reports its sizes. The scan traces
// every step; when it fails, the trace is written to `sideLog`, whose first line names
// `scannedName`. A sound or stopped (Cancelled) scan removes an earlier side log instead,
// so the file only ever tells of a failed last scan. An empty `sideLog`: no file at all.
int VectorFileSize(std::string_view text, VectorSizes& sizes, Messenger& messenger, Feedback& feedback,
                   std::string_view scannedName, const std::filesystem::path& sideLog);

// Loads normalised, scanned text into `data`, whose `sizes` hold the scan's sizes, then runs
// the duplicate-name and crossing-boundary checks unless skipformatcheck is on.
int VectorFileRead(std::string_view text, VectorData& data, const std::string& missvalue, const ReadHooks& hooks);

// The text of `data` in the vector file format, lines ended CR LF. Values equal to
// `missvalue` become empty fields (also in `data`, as the format's writer has always done).
// Nothing when the data set's arrays do not match its sizes. Yields once per node of a
// polygon, line or point.
std::optional<std::string> vectorFileText(VectorData& data, const std::string& missvalue, Feedback& feedback);

// vectorFileText written to `filename`. Returns 1 without a message when the text cannot
// be made or the file cannot be written in full; the caller reports that.
int VectorFileWrite(const std::filesystem::path& filename, VectorData& data, const std::string& missvalue,
                    Feedback& feedback);

// 1 when the segment a1-a2 meets the segment c1-c2 (touching counts), else 0.
int xross_line_line(double xa1, double ya1, double xa2, double ya2, double xc1, double yc1, double xc2, double yc2);

// The Read step shared by the window, the batch runner and the converter: decode (`encoding`
// is "auto" for UTF-8 with or without a byte order mark, else what vec::decodeSource detects;
// or an encoding name),
// filecomma, VectorFileSize and VectorFileRead, all in memory. Shows " 0 %" on the read
// progress label at the start and "100 % complete" after success. The data set keeps the
// source's encoding. On failure the data set holds only the scan's sizes.
struct ReadOutcome {
    int erf = 1;
    VectorData data;
};

// A vector file's bytes; `sourceName` names them in messages. The side log of a failed
// scan goes to `sideLog` (nothing when empty).
ReadOutcome readVectorBytes(std::string bytes, const std::string& sourceName, const std::string& missvalue,
                            const ReadHooks& hooks, const std::string& encoding,
                            const std::filesystem::path& sideLog);

// The same for a file, with the side log "VectorFileSize.log" in `sideFolder` (nothing when
// it is empty).
ReadOutcome readVectorFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                           const std::filesystem::path& sideFolder, const std::string& encoding = "auto");

// A data set that came from elsewhere (a GIS layer) as the Read step would leave it had it
// been read from its vector file: empty values become `missvalue`, with the same captions,
// yields and checks. Refused with a message when its arrays do not match its sizes.
ReadOutcome readVectorData(VectorData data, const std::string& missvalue, const ReadHooks& hooks);

}  // namespace el::vec
