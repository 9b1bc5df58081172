#include "r_zip.hpp"

#include <cstring>
#include <string>
#include <vector>

#include "base/file_bytes.hpp"
#include "vector/records_error.hpp"

namespace el::rpkg {
namespace {

// The R functions answer list(value) or list(error = TEXT): an R error must not jump across
// the reader's frames. `what` leads the refusal, R's own text follows in brackets.
SEXP valueOf(const Rcpp::List& answer, const std::string& what) {
    if (answer.containsElementNamed("error"))
        throw vec::RecordsError(what + " (" + Rcpp::as<std::string>(answer["error"]) + ")");
    return answer["value"];
}

// The bytes of one entry, chunk by chunk; the connection is closed at the end.
class ConnectionBytes final : public vec::ByteSource {
public:
    ConnectionBytes(const ZipFunctions& functions, Rcpp::RObject connection, std::string label)
        : functions_(functions), connection_(std::move(connection)), label_(std::move(label)) {}
    ~ConnectionBytes() override {
        try {
            functions_.close(connection_);
        } catch (...) {
            // An interrupt while closing: the entry is read or abandoned, nothing is lost.
        }
    }
    ConnectionBytes(const ConnectionBytes&) = delete;
    ConnectionBytes& operator=(const ConnectionBytes&) = delete;

    std::size_t read(char* into, std::size_t size) override {
        const Rcpp::RawVector got =
            valueOf(functions_.read(connection_, static_cast<double>(size)), "Reading " + label_ + " failed");
        const auto count = static_cast<std::size_t>(got.size());
        if (count > 0) std::memcpy(into, RAW(got), count);
        return count;
    }

private:
    ZipFunctions functions_;
    Rcpp::RObject connection_;
    std::string label_;
};

class RZip final : public vec::ZipFiles {
public:
    RZip(const std::filesystem::path& zip, ZipFunctions functions) : zip_(utf8Path(zip)), functions_(std::move(functions)) {}

    std::vector<std::string> entries() override {
        return Rcpp::as<std::vector<std::string>>(
            valueOf(functions_.entries(zip_), zip_ + " could not be read as a zip archive"));
    }

    std::unique_ptr<vec::ByteSource> open(const std::string& entry) override {
        const std::string label = zip_ + ": " + entry;
        return std::make_unique<ConnectionBytes>(functions_, valueOf(functions_.open(zip_, entry), "cannot open " + label),
                                                 label);
    }

private:
    std::string zip_;
    ZipFunctions functions_;
};

}  // namespace

vec::ZipOpener rZipOpener(const ZipFunctions& functions) {
    return [functions](const std::filesystem::path& zip) { return std::make_unique<RZip>(zip, functions); };
}

ZipFunctions packageZipFunctions() {
    const Rcpp::Environment package = Rcpp::Environment::namespace_env("earlylate");
    return {package[".el_zip_entries"], package[".el_zip_open"], package[".el_zip_read"], package[".el_zip_close"]};
}

}  // namespace el::rpkg
