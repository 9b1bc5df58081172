#include "engine/run/writeback.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "base/numtext.hpp"
#include "engine/run/run_error.hpp"
#include "vector/file_bytes.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace el::engine {
namespace fs = std::filesystem;
namespace {

// A failure of one step, with the reason the system gave.
struct StepFailure {
    std::string reason;
};

std::string systemReason(int error) { return std::generic_category().message(error); }

// A new file beside `target` that replaces it only on commit(); until then the target is
// untouched, and a replacement that is dropped removes its file. `afterStep` is told of
// every step write() and commit() take.
class Replacement {
public:
    Replacement(const fs::path& target, const WriteBackStepHook& afterStep) : target_(target), afterStep_(afterStep) {
        struct stat info {};
        if (::stat(target.c_str(), &info) == 0) {
            mode_ = info.st_mode & 07777;
        } else if (errno != ENOENT) {
            throw StepFailure{systemReason(errno)};
        }
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        // The name appended, not "." + name: GCC 12 at -O2 takes "text" + temporary for an
        // overlapping copy (-Wrestrict).
        const std::string name = std::string(".").append(target.filename().string()).append(".new-XXXXXX");
        std::string pattern = (folder / name).string();
        fd_ = ::mkstemp(pattern.data());
        if (fd_ < 0) throw StepFailure{"no file can be created in its folder (" + systemReason(errno) + ")"};
        path_ = pattern;
    }
    ~Replacement() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.c_str());
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    void write(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                throw StepFailure{systemReason(errno)};
            }
            done += static_cast<std::size_t>(n);
        }
        step(WriteBackStep::Written);
    }

    void commit() {
        if (::fchmod(fd_, mode_) != 0) throw StepFailure{systemReason(errno)};
        step(WriteBackStep::PermissionsKept);
        if (::fsync(fd_) != 0) throw StepFailure{systemReason(errno)};
        step(WriteBackStep::Synced);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throw StepFailure{systemReason(errno)};
        step(WriteBackStep::Closed);
        if (std::rename(path_.c_str(), target_.c_str()) != 0) throw StepFailure{systemReason(errno)};
        committed_ = true;
        step(WriteBackStep::Renamed);
        syncFolder();
        step(WriteBackStep::FolderSynced);
    }

private:
    void step(WriteBackStep done) const {
        if (afterStep_) afterStep_(done);
    }

    // Makes the rename itself durable; the replacement has happened either way.
    void syncFolder() const {
        const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (dir < 0) return;
        ::fsync(dir);
        ::close(dir);
    }

    fs::path target_;
    const WriteBackStepHook& afterStep_;
    fs::path path_;
    int fd_ = -1;
    mode_t mode_ = 0644;
    bool committed_ = false;
};


// The file to replace: the target of a symbolic link, so that the link itself survives.
fs::path replacedFile(const fs::path& source) {
    std::error_code ec;
    if (fs::is_symlink(source, ec)) {
        const fs::path target = fs::canonical(source, ec);
        if (!ec) return target;
    }
    return source;
}

// The new source: the enlarged copy as the writer writes it, each line without its
// trailing commas, in the source's own encoding and byte order mark so that the user's
// other tools still read it. Yields once per line.
std::string newSourceBytes(vec::VectorData& copy, const vec::TextEncoding& encoding, const std::string& missvalue,
                           Feedback& feedback) {
    const auto text = vec::vectorFileText(copy, missvalue, feedback);
    if (!text) throw StepFailure{"the data set's arrays do not match its sizes"};
    vec::TextEncoder encoder(encoding.name);
    if (!encoder.usable()) throw StepFailure{"the text encoding " + encoding.name + " is not available"};
    std::string bytes = encoding.bom ? "\xEF\xBB\xBF" : "";
    bytes.reserve(text->size() + bytes.size());
    std::string problem;
    int number = 0;
    for (std::string_view line : vec::linesOf(*text)) {
        feedback.checkpoint();
        ++number;
        if (!encoder.encode(vec::withoutTrailingCommas(line), bytes, problem) || !encoder.encode("\r\n", bytes, problem))
            throw StepFailure{problem + " (line " + std::to_string(number) + ")"};
    }
    return bytes;
}

void requireShape(bool ok, const char* what) {
    if (!ok) throw RunError(std::string("The prediction does not fit the data set: ") + what);
}

}  // namespace

vec::VectorData withPrediction(const vec::VectorData& loaded, const PredictionColumns& columns, const std::string& missvalue) {
    const int v = loaded.valn();
    const int species = static_cast<int>(columns.speciesNames.size());
    const int used = columns.used.size();
    requireShape(static_cast<int>(loaded.valname.size()) >= v && static_cast<int>(loaded.objects.size()) == loaded.objn(),
                 "incomplete data set");
    requireShape(static_cast<int>(columns.regionviable.size()) >= loaded.objn(), "viable pair counts");
    requireShape(static_cast<int>(columns.score.size()) == used &&
                     static_cast<int>(columns.used.name.size()) == used,
                 "region scores");
    requireShape(static_cast<int>(columns.table.size()) == species, "prediction table");
    for (const auto& row : columns.table) requireShape(static_cast<int>(row.size()) == used, "prediction table row");
    for (int region : columns.used.regno) requireShape(region >= 0 && region < loaded.objn(), "region numbers");

    vec::VectorData copy = loaded;
    copy.valname.assign(loaded.valname.begin(), loaded.valname.begin() + v);
    copy.valname.push_back("Number of viable pairs of early-late relation");
    copy.valname.push_back("Relative infestation date");
    for (const auto& name : columns.speciesNames) copy.valname.push_back("Predicted_" + name);
    copy.valname.insert(copy.valname.end(), loaded.valname.begin() + v, loaded.valname.end());
    copy.sizes.valn = v + species + 2;

    for (int o = 0; o < loaded.objn(); ++o) {
        auto& values = copy.objects[o].values;
        values.push_back(plainnum(columns.regionviable[o]));
        values.push_back(missvalue);  // stays for a region that is not used
        values.resize(static_cast<std::size_t>(v) + species + 2, missvalue);
    }
    for (int p = 0; p < used; ++p) {
        auto& values = copy.objects[columns.used.regno[p]].values;
        values[v + 1] = plainnum(columns.score[p]);
        for (int j = 0; j < species; ++j) values[static_cast<std::size_t>(v) + 2 + j] = columns.table[j][p];
    }
    return copy;
}

void addPredictionToSource(const vec::VectorData& loaded, const PredictionColumns& columns, const std::string& missvalue,
                           const fs::path& sourceFile, Feedback& feedback, const WriteBackStepHook& afterStep) {
    vec::VectorData copy = withPrediction(loaded, columns, missvalue);
    try {
        const std::string bytes = newSourceBytes(copy, loaded.encoding, missvalue, feedback);
        if (afterStep) afterStep(WriteBackStep::Encoded);
        Replacement replacement(replacedFile(sourceFile), afterStep);
        if (afterStep) afterStep(WriteBackStep::Created);
        replacement.write(bytes);
        replacement.commit();
    } catch (const StepFailure& failure) {
        throw RunError("The prediction could not be added to " + sourceFile.string() + ": " + failure.reason);
    } catch (const RunError&) {
        throw;
    } catch (const std::exception& error) {
        throw RunError("The prediction could not be added to " + sourceFile.string() + ": " + error.what());
    }
}

}  // namespace el::engine
