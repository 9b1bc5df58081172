// The Read step: normalise the chosen file into a scratch copy, scan it, read it, and
// remove the copy again whatever happened.

#include "vector/file_bytes.hpp"
#include "vector/vector_file.hpp"
#include "vector/work_lock.hpp"

namespace el {

ReadOutcome readVectorFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                           const std::string& encoding) {
    ReadOutcome outcome;
    const WorkFolderLock lock;
    if (!lock.acquired()) {
        hooks.messenger.message(WorkFolderLock::busyText());
        return outcome;
    }
    const vec::ScratchFile copy("temp1.tmp");
    const std::filesystem::path& scratch = copy.path();
    hooks.feedback.caption(Label::ReadProgress, " 0 %");

    TextEncoding found;
    outcome.erf = filecomma(source, scratch, hooks.messenger, encoding, found);
    if (outcome.erf == 0) outcome.erf = VectorFileSize(scratch, outcome.data.sizes, hooks.messenger, hooks.feedback);
    if (outcome.erf == 0) outcome.erf = VectorFileRead(scratch, outcome.data, missvalue, hooks);

    if (outcome.erf == 0) {
        outcome.data.encoding = found;
        hooks.feedback.caption(Label::ReadProgress, "100 % complete");
    } else {
        // Keep the sizes for the record, but nothing that could pass for a loaded file.
        const VectorSizes sizes = outcome.data.sizes;
        outcome.data = VectorData{};
        outcome.data.sizes = sizes;
    }
    return outcome;
}

}  // namespace el
