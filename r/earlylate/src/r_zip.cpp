#include "r_zip.hpp"

#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "vector/records_error.hpp"

namespace el::rpkg {
namespace {

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The bytes of one entry, chunk by chunk through readBin; the connection is closed at the end.
class ConnectionBytes final : public vec::ByteSource {
public:
    ConnectionBytes(Rcpp::RObject connection, std::string label)
        : connection_(std::move(connection)), label_(std::move(label)) {}
    ~ConnectionBytes() override {
        try {
            Rcpp::Function("close")(connection_);
        } catch (...) {
            // Closing an entry read to its end, or after a failure already reported: nothing to add.
        }
    }
    ConnectionBytes(const ConnectionBytes&) = delete;
    ConnectionBytes& operator=(const ConnectionBytes&) = delete;

    std::size_t read(char* into, std::size_t size) override {
        Rcpp::RawVector got;
        try {
            got = readBin_(connection_, "raw", static_cast<double>(size));
        } catch (const Rcpp::eval_error& e) {
            throw vec::RecordsError("Reading " + label_ + " failed (" + e.what() + ")");
        }
        const auto count = static_cast<std::size_t>(got.size());
        if (count > 0) std::memcpy(into, RAW(got), count);
        return count;
    }

private:
    Rcpp::RObject connection_;
    std::string label_;
    Rcpp::Function readBin_{"readBin"};
};

class RZip final : public vec::ZipFiles {
public:
    RZip(std::filesystem::path zip, Rcpp::Function entries, Rcpp::Function open)
        : zip_(utf8Of(zip)), entries_(std::move(entries)), open_(std::move(open)) {}

    std::vector<std::string> entries() override {
        try {
            return Rcpp::as<std::vector<std::string>>(entries_(zip_));
        } catch (const Rcpp::eval_error& e) {
            throw vec::RecordsError(zip_ + " could not be read as a zip archive (" + e.what() + ")");
        }
    }

    std::unique_ptr<vec::ByteSource> open(const std::string& entry) override {
        const std::string label = "/vsizip/{" + zip_ + "}/" + entry;
        try {
            return std::make_unique<ConnectionBytes>(open_(zip_, entry), label);
        } catch (const Rcpp::eval_error& e) {
            throw vec::RecordsError("cannot open " + label + " (" + e.what() + ")");
        }
    }

private:
    std::string zip_;
    Rcpp::Function entries_, open_;
};

}  // namespace

vec::ZipOpener rZipOpener(Rcpp::Function entries, Rcpp::Function open) {
    return [entries, open](const std::filesystem::path& zip) { return std::make_unique<RZip>(zip, entries, open); };
}

}  // namespace el::rpkg
