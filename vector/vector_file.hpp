#pragma once
// The vector file procedures. Each returns the error flag `erf`: 0 success, 1 failure.
// Messages go to the host's message box; scratch files and the scan's side log are
// written to the working directory.

#include <filesystem>
#include <string>

#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "vector/vector_data.hpp"

namespace el {

// Whom the Read step and the reader's checks talk to: the checks read "skip vector file
// format chek" live, findings go to the messenger, progress and stops to the feedback.
struct ReadHooks {
    const SettingsSource& settings;
    Messenger& messenger;
    Feedback& feedback;
};

// Copies `from` to `to` with the trailing commas of every line removed, lines ended CR LF.
// A source that cannot be read or a copy that cannot be written is shown and gives 1.
int filecomma(const std::filesystem::path& from, const std::filesystem::path& to, Messenger& messenger);

// The same, decoding the source first: `encoding` is "auto" (UTF-8 with or without a byte
// order mark, else CP932) or an encoding name. The copy is always UTF-8; `found` tells
// what the source was. Bytes that do not decode, or a NUL byte, are shown and give 1.
int filecomma(const std::filesystem::path& from, const std::filesystem::path& to, Messenger& messenger,
              const std::string& encoding, TextEncoding& found);

// Scans and validates a normalised vector file and reports its sizes. Writes
// "VectorFileSize.log" (and "temp4.tmp" while it reads the variable line) in the working
// directory; the side log remains only when the scan fails.
int VectorFileSize(const std::filesystem::path& filename, VectorSizes& sizes, Messenger& messenger,
                   Feedback& feedback);

// Loads a normalised, scanned file into `data`, whose `sizes` hold the scan's sizes, then
// runs the duplicate-name and crossing-boundary checks unless skipformatcheck is on.
int VectorFileRead(const std::filesystem::path& filename, VectorData& data, const std::string& missvalue,
                   const ReadHooks& hooks);

// Writes `data` in the vector file format. Values equal to `missvalue` become empty fields
// (also in `data`, as the format's writer has always done). Returns 1 without a message
// when the file cannot be written in full or the data set's arrays do not match its
// sizes; the caller reports that.
int VectorFileWrite(const std::filesystem::path& filename, VectorData& data, const std::string& missvalue,
                    Feedback& feedback);

// 1 when the segment a1-a2 meets the segment c1-c2 (touching counts), else 0.
int xross_line_line(double xa1, double ya1, double xa2, double ya2, double xc1, double yc1, double xc2, double yc2);

// The Read step shared by the window and the batch runner: filecomma to "temp1.tmp",
// VectorFileSize, VectorFileRead, and removal of "temp1.tmp" (also after a failure). Shows
// " 0 %" on the read progress label at the start and "100 % complete" after success.
// `encoding` is passed to filecomma; the data set keeps the source's encoding. The step
// holds the working directory's lock and refuses while another process holds it.
struct ReadOutcome {
    int erf = 1;
    VectorData data;
};
ReadOutcome readVectorFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                           const std::string& encoding = "auto");

}  // namespace el
