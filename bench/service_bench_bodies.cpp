// The catalogue and the request bodies of bench/service_bench, the load
// benchmark of torvik-service over loopback (bench/README.md), and the check
// of what the service recorded.
//
//   service_bench_bodies generate --out DIR [--users N] [--repeat-users R]
//   service_bench_bodies send --out DIR --pack NAME --port PORT
//   service_bench_bodies reports --data DIR
//
// "generate" writes into DIR (created if missing):
//   catalogue.json             400 programs, for "torvik-service import"
//   content-type               the bodies' Content-Type header value
//   first.pack, first.index    the first checks of N users (user_BENCH000000_...)
//   prime.pack, prime.index    the first checks of R other users (user_AGAIN000000_...)
//   repeat.pack, repeat.index  those R users checking again with nothing changed
// A pack holds the multipart/form-data bodies one after another; its index
// has one line "OFFSET LENGTH" per body. Each inventory holds 300 programs:
// 240 of the catalogue (most at its latest version, some older, some newer)
// and 60 it does not know, 3 of them without version information, so that a
// first check records 297 reports. A first check sends the version details
// of every executable; a repeat check sends none, as the client does once
// it has sent them.
//
// "send" posts every body of a pack once, one after another, to the service
// on 127.0.0.1:PORT and fails unless each reply is a check's reply (the
// driver checks the repeat users in once before their repeat checks).
//
// "reports" reads the data folder of the service after the runs and prints
// "installations N reports M wrong K": K installations whose recorded report
// count is not 297 (a check records all or nothing).
#include <httplib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "protocol/Compression.h"
#include "protocol/Multipart.h"
#include "server/ProgramLines.h"
#include "server/Sqlite.h"
#include "server/SqliteStorage.h"

namespace {

using namespace torvik;
using namespace torvik::server;
using Version = std::array<uint32_t, 4>;

constexpr int kCatalogueSize = 400;
constexpr int kKnownPerUser = 240;
constexpr int kUnknownPerUser = 60;
constexpr int kUnversionedPerUser = 3; // among the unknown ones
constexpr int kRecordedPerUser = kKnownPerUser + kUnknownPerUser - kUnversionedPerUser;

constexpr std::array kVendors = {
    "Aldenbrook", "Brightwater",  "Cobalt Lane", "Dunmore",     "Eastgate",    "Fernhill",
    "Glasswing",  "Harrowgate",   "Ironbark",    "Juniper",     "Kestrel",     "Larkspur",
    "Millbrook",  "Northwind",    "Oakhaven",    "Pinecrest",   "Quillon",     "Redfern",
    "Silverleaf", "Thornbury",    "Umberfield",  "Valecrest",   "Westmarch",   "Yarrow",
    "Ashcombe",   "Blackmoor",    "Coldharbour", "Deepwell",    "Elmstead",    "Foxglove",
    "Greyfriars", "Hollowell",    "Ivybridge",   "Kingsmere",   "Lindenhurst", "Moorside",
    "Netherby",   "Orchardleigh", "Pembury",     "Ravensworth", "Stonebridge", "Tidewater",
    "Underhill",  "Wrenfield",    "Ambermoor",   "Birchwood",   "Clearwater",  "Driftwood",
};

constexpr std::array kProducts = {
    "Photo Studio",  "Media Player",   "Archive Manager", "PDF Reader",
    "Code Editor",   "Backup",         "Screen Capture",  "Mail",
    "Notes",         "File Sync",      "Audio Recorder",  "Video Converter",
    "Disk Analyzer", "Password Vault", "FTP Client",      "Terminal",
    "Image Viewer",  "Font Manager",   "Web Browser",     "Chat",
    "Calendar",      "Home Finance",   "Map Viewer",      "3D Modeler",
    "Sound Mixer",   "Scanner Suite",  "Printer Tools",   "Driver Helper",
    "Game Launcher", "Office Writer",
};

constexpr std::array kEditions = {"Portable", "Community Edition", "Lite"};

constexpr std::array kComments = {
    "Faster start, new toolbar",
    "Fixes a crash when printing large documents",
    "Security update; recommended for every user",
    "New dark theme and better high-DPI support",
    "Smaller installer, fewer background services",
    "Adds support for the latest file formats",
};

// A stable hash (FNV-1a), so that every run generates the same bytes.
uint64_t Hash(std::string_view text, uint64_t seed = 0) {
    uint64_t h = 1469598103934665603ull ^ seed;
    for (const char c : text) {
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return h;
}

std::string Compact(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out += c;
        } else if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string Dotted(const Version& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
}

struct Program {
    std::string vendor, product, name, exe;
    std::string folder; // below Program Files ("\Vendor\Product"), empty when per user
    Version latest{};
    std::vector<Version> older, newer;
    bool hasIcon = false;
    std::string productUrl, comments;
};

Program MakeProgram(const std::string& vendor, const std::string& product,
                    const std::string& edition, std::mt19937_64& random) {
    Program p;
    p.vendor = vendor;
    p.product = product;
    p.name = vendor + " " + product + (edition.empty() ? "" : " " + edition);
    p.exe = Compact(vendor).substr(0, 4) + Compact(product) +
            (edition.empty() ? "" : "_" + Compact(edition)) + ".exe";
    auto pick = [&](uint32_t low, uint32_t high) {
        return std::uniform_int_distribution<uint32_t>(low, high)(random);
    };
    if (pick(0, 4) > 0) {
        p.folder = "\\" + vendor + "\\" + product + (pick(0, 2) == 0 ? "\\bin" : "");
    }
    p.latest = {pick(1, 30), pick(0, 20), pick(0, 200), pick(0, 5000)};
    // Four older versions, the most recent first, and two newer ones.
    Version v = p.latest;
    for (int i = 0; i < 4; ++i) {
        if (v[2] > 0 && pick(0, 1) == 0) {
            v[2] -= std::min(v[2], pick(1, 5));
        } else if (v[1] > 0) {
            --v[1];
        } else {
            v[0] = std::max(1u, v[0]) - 1;
            v[1] = 9;
        }
        v[3] = pick(0, 5000);
        p.older.push_back(v);
    }
    p.newer.push_back({p.latest[0], p.latest[1], p.latest[2] + 1, p.latest[3] + 17});
    p.newer.push_back({p.latest[0], p.latest[1] + 1, 0, pick(0, 5000)});
    p.hasIcon = pick(0, 9) < 7;
    p.productUrl = "https://www." + Compact(vendor) + ".example/" + Compact(product);
    p.comments = kComments[pick(0, kComments.size() - 1)];
    return p;
}

// The catalogue's programs and a larger pool of programs it does not know.
struct World {
    std::vector<Program> known, unknown;
};

World MakeWorld() {
    std::mt19937_64 random(20261210);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* vendor : kVendors) {
        for (const char* product : kProducts) {
            pairs.emplace_back(vendor, product);
        }
    }
    std::shuffle(pairs.begin(), pairs.end(), random);
    World world;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto& [vendor, product] = pairs[i];
        if (i < kCatalogueSize) {
            world.known.push_back(MakeProgram(vendor, product, "", random));
        } else {
            world.unknown.push_back(MakeProgram(vendor, product, "", random));
            for (const char* edition : kEditions) {
                world.unknown.push_back(MakeProgram(vendor, product, edition, random));
            }
        }
    }
    return world;
}

nlohmann::json CatalogueJson(const World& world) {
    nlohmann::json programs = nlohmann::json::array();
    for (const Program& p : world.known) {
        programs.push_back({{"name", p.name},
                            {"exe", p.exe},
                            {"latest_version", Dotted(p.latest)},
                            {"product_url", p.productUrl},
                            {"download_url", p.productUrl + "/download"},
                            {"comments", p.comments},
                            {"has_icon", p.hasIcon}});
    }
    return {{"programs", programs}};
}

// The version details the client sends once per executable and version.
std::string Details(const Program& p, const Version& v) {
    const std::string dotted = Dotted(v);
    const uint64_t h = Hash(p.name);
    return "[CompanyName]" + p.vendor + " Software Ltd.<br>[FileDescription]" + p.product +
           " for Windows<br>[FileVersion]" + dotted + "<br>[InternalName]" +
           p.exe.substr(0, p.exe.size() - 4) + "<br>[LegalCopyright]Copyright \xC2\xA9 " +
           std::to_string(2010 + h % 16) + " " + p.vendor +
           " Software Ltd. All rights reserved.<br>[OriginalFilename]" + p.exe +
           "<br>[ProductName]" + p.vendor + " " + p.product + "<br>[ProductVersion]" + dotted +
           "<br>";
}

// One program line; the file's date and size follow from the program and
// its version, as they would for the same installer on every computer.
std::string ProgramLineText(const Program& p, const Version* v, const std::string& userFolder,
                            bool withDetails) {
    const std::string folder = p.folder.empty() ? userFolder + "\\" + p.product : p.folder;
    if (v == nullptr) {
        return p.name + "|" + folder + "|" + p.exe + "|--|00000.00000.00000.00000|0|0|0|0|" +
               "2019-04-02 08:15:00|" + std::to_string(40960 + Hash(p.exe) % 500000) + "|\r\n";
    }
    const uint64_t h = Hash(p.exe, Hash(Dotted(*v)));
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", 2019 + int(h % 8),
                  1 + int(h / 8 % 12), 1 + int(h / 96 % 28), int(h / 2688 % 24),
                  int(h / 64512 % 60), int(h / 3870720 % 60));
    return p.name + "|" + folder + "|" + p.exe + "|" + FormatVersionText(*v) + "|" +
           FormatVersionX(*v) + "|" + std::to_string((*v)[0]) + "|" + std::to_string((*v)[1]) +
           "|" + std::to_string((*v)[2]) + "|" + std::to_string((*v)[3]) + "|" + date + "|" +
           std::to_string(200000 + h % 80000000) + "|" + (withDetails ? Details(p, *v) : "") +
           "\r\n";
}

// One user's inventory: which programs at which versions (null: none).
struct Inventory {
    std::string header, userFolder;
    std::vector<std::pair<const Program*, const Version*>> programs;
};

Inventory MakeInventory(const World& world, const std::string& prefix, int user,
                        std::mt19937_64& random) {
    Inventory inventory;
    char id[64];
    std::snprintf(id, sizeof id, "user_%s%06d_2026-12-10 10:00:00.000", prefix.c_str(), user);
    const bool eleven = random() % 5 == 0;
    inventory.header = std::string(id) + (eleven ? "#Windows NT 10.00.22631#10#0#22631"
                                                 : "#Windows NT 10.00.19045#10#0#19045");
    inventory.userFolder =
        "C:\\Users\\" + prefix + std::to_string(user) + "\\AppData\\Local\\Programs";
    // Popular programs are on more computers: the catalogue's first are
    // drawn more often.
    std::vector<double> weights;
    for (int i = 0; i < kCatalogueSize; ++i) {
        weights.push_back(1.0 / (1.0 + i / 40.0));
    }
    std::discrete_distribution<int> popular(weights.begin(), weights.end());
    std::set<int> chosen;
    while (static_cast<int>(chosen.size()) < kKnownPerUser) {
        chosen.insert(popular(random));
    }
    std::uniform_real_distribution<double> share(0.0, 1.0);
    for (const int i : chosen) {
        const Program& p = world.known[i];
        const double r = share(random);
        const Version* v = r < 0.55   ? &p.latest
                           : r < 0.90 ? &p.older[std::min<size_t>(random() % 6, 3)]
                                      : &p.newer[random() % 2];
        inventory.programs.emplace_back(&p, v);
    }
    std::set<size_t> unknown;
    while (static_cast<int>(unknown.size()) < kUnknownPerUser) {
        unknown.insert(random() % world.unknown.size());
    }
    int unversioned = 0;
    for (const size_t i : unknown) {
        const Program& p = world.unknown[i];
        const bool none = unversioned++ < kUnversionedPerUser;
        inventory.programs.emplace_back(&p, none ? nullptr : &p.latest);
    }
    std::shuffle(inventory.programs.begin(), inventory.programs.end(), random);
    return inventory;
}

// The multipart body exactly as the client builds it.
std::string CheckBody(const Inventory& inventory, bool withDetails) {
    std::string lines;
    for (const auto& [program, version] : inventory.programs) {
        lines += ProgramLineText(*program, version, inventory.userFolder, withDetails);
    }
    MultipartFields fields;
    fields.AddText(L"build", L"67");
    fields.AddText(L"header", std::wstring(inventory.header.begin(), inventory.header.end()));
    fields.AddText(L"mode", L"check_for_updates");
    fields.AddBinary(L"programs_list_zlib_UTF8_nouu", L"", ZlibCompressByteString(lines));
    return BuildMultipartBody(fields, Latin1CodePage());
}

std::string ContentType() {
    return "multipart/form-data; boundary=" + std::string(kMultipartBoundary);
}

class Pack {
public:
    Pack(const std::filesystem::path& dir, const std::string& name)
        : bodies_(dir / (name + ".pack"), std::ios::binary),
          index_(dir / (name + ".index"), std::ios::binary) {
        if (!bodies_ || !index_) {
            throw std::runtime_error("cannot write " + (dir / name).string() + ".pack/.index");
        }
    }
    void Add(const std::string& body) {
        index_ << offset_ << ' ' << body.size() << '\n';
        bodies_.write(body.data(), static_cast<std::streamsize>(body.size()));
        offset_ += body.size();
        bytes_ += body.size();
        ++count_;
    }
    void Close() {
        bodies_.close();
        index_.close();
        if (!bodies_ || !index_) {
            throw std::runtime_error("writing a pack failed");
        }
    }
    size_t AverageBytes() const { return count_ == 0 ? 0 : bytes_ / count_; }

private:
    std::ofstream bodies_, index_;
    uint64_t offset_ = 0, bytes_ = 0;
    size_t count_ = 0;
};

int Generate(const std::filesystem::path& out, int users, int repeatUsers) {
    std::filesystem::create_directories(out);
    const World world = MakeWorld();
    {
        std::ofstream catalogue(out / "catalogue.json", std::ios::binary);
        catalogue << CatalogueJson(world).dump(2) << '\n';
        if (!catalogue) {
            throw std::runtime_error("cannot write catalogue.json");
        }
    }
    {
        std::ofstream contentType(out / "content-type", std::ios::binary);
        contentType << ContentType();
        if (!contentType) {
            throw std::runtime_error("cannot write content-type");
        }
    }
    std::mt19937_64 random(67);
    Pack first(out, "first");
    for (int user = 0; user < users; ++user) {
        first.Add(CheckBody(MakeInventory(world, "BENCH", user, random), true));
    }
    first.Close();
    Pack prime(out, "prime"), repeat(out, "repeat");
    for (int user = 0; user < repeatUsers; ++user) {
        const Inventory inventory = MakeInventory(world, "AGAIN", user, random);
        prime.Add(CheckBody(inventory, true));
        repeat.Add(CheckBody(inventory, false));
    }
    prime.Close();
    repeat.Close();
    std::printf("service_bench_bodies: %zu catalogue programs; %d first checks of %zu bytes on "
                "average; %d repeat checks of %zu bytes\n",
                world.known.size(), users, first.AverageBytes(), repeatUsers,
                repeat.AverageBytes());
    return 0;
}

int Send(const std::filesystem::path& dir, const std::string& pack, int port) {
    std::ifstream index(dir / (pack + ".index"), std::ios::binary);
    std::ifstream bodies(dir / (pack + ".pack"), std::ios::binary);
    if (!index || !bodies) {
        throw std::runtime_error("cannot read " + (dir / pack).string() + ".index/.pack");
    }
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(10);
    client.set_write_timeout(10);
    const std::string contentType =
        "multipart/form-data; boundary=" + std::string(kMultipartBoundary);
    uint64_t offset = 0, length = 0;
    int sent = 0;
    while (index >> offset >> length) {
        std::string body(length, '\0');
        bodies.seekg(static_cast<std::streamoff>(offset));
        if (!bodies.read(body.data(), static_cast<std::streamsize>(length))) {
            throw std::runtime_error("a short body in " + pack + ".pack");
        }
        const auto reply = client.Post("/versionchecker.aspx", body, contentType);
        if (!reply || reply->status != 200 || !reply->body.starts_with("[recheck_str]\r\n")) {
            std::fprintf(
                stderr, "service_bench_bodies: body %d of %s: %s\n", sent, pack.c_str(),
                !reply ? httplib::to_string(reply.error()).c_str()
                       : (std::to_string(reply->status) + " " + reply->body.substr(0, 80)).c_str());
            return 1;
        }
        ++sent;
    }
    std::printf("service_bench_bodies: sent %d bodies of %s\n", sent, pack.c_str());
    return 0;
}

int Reports(const std::string& dataDir) {
    auto connection = SqliteConnection::Open(SqliteStorage::DatabasePath(dataDir));
    SqliteStatement totals(connection,
                           "SELECT count(DISTINCT installation_id), count(*) FROM reports");
    totals.Step();
    SqliteStatement wrong(connection, "SELECT count(*) FROM (SELECT installation_id FROM reports "
                                      "GROUP BY installation_id HAVING count(*) <> ?1)");
    wrong.BindInt64(1, kRecordedPerUser);
    wrong.Step();
    std::printf("installations %lld reports %lld wrong %lld\n",
                static_cast<long long>(totals.ColumnInt64(0)),
                static_cast<long long>(totals.ColumnInt64(1)),
                static_cast<long long>(wrong.ColumnInt64(0)));
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: service_bench_bodies generate --out DIR [--users N] "
                         "[--repeat-users R]\n"
                         "       service_bench_bodies send --out DIR --pack NAME --port PORT\n"
                         "       service_bench_bodies reports --data DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        return Usage();
    }
    const std::string command = argv[1];
    std::string out, data, pack;
    int users = 1000, repeatUsers = 200, port = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--out") {
            out = value;
        } else if (name == "--data") {
            data = value;
        } else if (name == "--pack") {
            pack = value;
        } else if (name == "--users" || name == "--repeat-users" || name == "--port") {
            char* end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (*end != '\0' || n < 1 || n > (name == "--port" ? 65535 : 1000000)) {
                return Usage();
            }
            (name == "--users"  ? users
             : name == "--port" ? port
                                : repeatUsers) = static_cast<int>(n);
        } else {
            return Usage();
        }
    }
    try {
        if (command == "generate" && !out.empty()) {
            return Generate(out, users, repeatUsers);
        }
        if (command == "send" && !out.empty() && !pack.empty() && port != 0) {
            return Send(out, pack, port);
        }
        if (command == "reports" && !data.empty()) {
            return Reports(data);
        }
        return Usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "service_bench_bodies: %s\n", e.what());
        return 1;
    }
}
