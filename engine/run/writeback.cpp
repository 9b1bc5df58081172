#include "engine/run/writeback.hpp"

#include <utility>

#include "base/file_bytes.hpp"
#include "base/file_replace.hpp"
#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace el::engine {
namespace fs = std::filesystem;
namespace {

// A failure of one step, with the reason the system gave.
struct StepFailure {
    std::string reason;
};

// The replacement's steps as the write-back's hook names them.
WriteBackStep writeBackStepOf(ReplaceStep step) {
    switch (step) {
        case ReplaceStep::Written:
            return WriteBackStep::Written;
        case ReplaceStep::PermissionsKept:
            return WriteBackStep::PermissionsKept;
        case ReplaceStep::Synced:
            return WriteBackStep::Synced;
        case ReplaceStep::Closed:
            return WriteBackStep::Closed;
        case ReplaceStep::Renamed:
            return WriteBackStep::Renamed;
        case ReplaceStep::FolderSynced:
            break;
    }
    return WriteBackStep::FolderSynced;
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
    for (std::string_view line : linesOf(*text)) {
        feedback.checkpoint();
        ++number;
        if (!encoder.encode(withoutTrailingCommas(line), bytes, problem) || !encoder.encode("\r\n", bytes, problem))
            throw StepFailure{problem + " (line " + std::to_string(number) + ")"};
    }
    return bytes;
}

void requireShape(bool ok, const char* what) {
    if (!ok) throw RunError(std::string("The prediction does not fit the data set: ") + what);
}

}  // namespace

vec::VectorData withPrediction(const vec::VectorData& loaded, const PredictionColumns& columns,
                               const std::string& missvalue) {
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
        auto& values = copy.objects[static_cast<std::size_t>(o)].values;
        values.push_back(plainnum(columns.regionviable[static_cast<std::size_t>(o)]));
        values.push_back(missvalue);  // stays for a region that is not used
        values.resize(static_cast<std::size_t>(v) + static_cast<std::size_t>(species) + 2, missvalue);
    }
    for (int p = 0; p < used; ++p) {
        auto& values = copy.objects[static_cast<std::size_t>(columns.used.regno[static_cast<std::size_t>(p)])].values;
        values[static_cast<std::size_t>(v + 1)] = plainnum(columns.score[static_cast<std::size_t>(p)]);
        for (int j = 0; j < species; ++j)
            values[static_cast<std::size_t>(v) + 2 + static_cast<std::size_t>(j)] =
                columns.table[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)];
    }
    return copy;
}

void addPredictionToSource(const vec::VectorData& loaded, const PredictionColumns& columns,
                           const std::string& missvalue, const fs::path& sourceFile, Feedback& feedback,
                           const WriteBackStepHook& afterStep) {
    vec::VectorData copy = withPrediction(loaded, columns, missvalue);
    try {
        const std::string bytes = newSourceBytes(copy, loaded.encoding, missvalue, feedback);
        if (afterStep) afterStep(WriteBackStep::Encoded);
        ReplaceStepHook replaceStep;
        if (afterStep) replaceStep = [&afterStep](ReplaceStep done) { afterStep(writeBackStepOf(done)); };
        FileReplacement replacement(sourceFile, std::move(replaceStep));
        if (afterStep) afterStep(WriteBackStep::Created);
        replacement.write(bytes);
        replacement.commit();
    } catch (const StepFailure& failure) {
        throw RunError("The prediction could not be added to " + sourceFile.string() + ": " + failure.reason);
    } catch (const FileReplaceError& failure) {
        throw RunError("The prediction could not be added to " + sourceFile.string() + ": " + failure.what());
    } catch (const RunError&) {
        throw;
    } catch (const std::exception& error) {
        throw RunError("The prediction could not be added to " + sourceFile.string() + ": " + error.what());
    }
}

}  // namespace el::engine
