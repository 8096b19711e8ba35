// Throughput of the scenery readers on a generated scenery of 64 MiB, as large as a scenery is
// read, with CR LF line ends: mostly track, traction and event definitions and comments, many
// consists (drivable ones, others with vehicles from outside the PKP folder, notes) and a few
// marker comments. The file is written once to a temporary file; each pass opens and reads it
// as the launcher does, in blocks. BM_SceneryRead is what a scenery choice costs: both readers
// in one pass.
//
// For comparison: a plain read of the file in large blocks, and a minimal per-byte loop over
// the same bytes in memory, the yardstick the readers are measured against: a scenery read,
// from opening the file to the last marker, takes no longer than it.

#include "catalogue/ConsistParser.h"
#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/SceneryMarkers.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t ScenerySize = 64u << 20;

// A fixed sequence, so that every run measures the same file.
class Sequence {
public:
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ >> 32);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }

private:
    std::uint64_t state_ = 0x9e3779b97f4a7c15u;
};

struct VehicleKind {
    const char* folder; // the fifth token of the node line
    const char* type;   // the seventh, as a scenery author writes it
};

constexpr VehicleKind Locomotives[] = {
    {"PKP\\eu07", "eu07"}, {"PKP\\ep07", "EP07"}, {"pkp/ep09", "ep09"},
    {"PKP\\et22", "ET22"}, {"PKP\\sm42", "sm42"}, {"PKP\\su45", "Su45"},
};
constexpr VehicleKind Cars[] = {
    {"PKP\\wagony", "111a"},   {"PKP\\wagony", "112A"},   {"PKP\\wagony", "120a"},
    {"PKP\\towarowe", "401z"}, {"PKP\\towarowe", "408S"}, {"PKP\\towarowe", "towarowy"},
};
constexpr const char* ForeignCars[] = {"kolej\\wagony", "DB\\waggons", "inne/towarowe"};
constexpr const char* Notes[] = {"Osobowy relacji Gora - Dolina", "Pospieszny do stacji koncowej",
                                 "Manewry na stacji rozrzadowej", "Towarowy z kruszywem"};

class SceneryWriter {
public:
    std::string build() {
        text_.reserve(ScenerySize + 4096);
        line("// Sceneria wygenerowana do pomiarow czytnikow");
        line("//$D Trasa testowa: dwie stacje, szlak dwutorowy");
        line("//$D i bocznica towarowa");
        line("//$N Trasa pomiarowa");
        line("//$I pomiar.jpg");
        line("");
        std::uint32_t section = 0;
        // A section is well under 8 KB; comment lines then fill the file to its exact size.
        while (text_.size() + 8192 < ScenerySize) writeSection(++section);
        while (ScenerySize - text_.size() > 200) commentOfSize(100);
        const std::size_t rest = ScenerySize - text_.size();
        commentOfSize(rest / 2);
        commentOfSize(rest - rest / 2);
        return std::move(text_);
    }

private:
    void line(std::string_view s) {
        text_ += s;
        text_ += "\r\n";
    }
    // A comment line of exactly size bytes, its CR LF included; size is at least 5.
    void commentOfSize(std::size_t size) {
        text_ += "// ";
        text_.append(size - 5, '-');
        text_ += "\r\n";
    }
    void appendNumber(std::uint32_t value) { text_ += std::to_string(value); }
    void appendCoordinate() {
        text_ += std::to_string(static_cast<int>(random_.below(20000)) - 10000);
        text_ += '.';
        text_ += std::to_string(random_.below(100));
    }

    void writeSection(std::uint32_t section) {
        text_ += "// odcinek ";
        appendNumber(section);
        line(": tor szlakowy, predkosc 120 km/h, luk R=1200 m");
        const std::uint32_t tracks = 8 + random_.below(16);
        for (std::uint32_t i = 0; i < tracks; ++i) writeTrack(section, i);
        writeTraction(section);
        if (random_.below(4) == 0) writeEvent(section);
        if (random_.below(64) == 0) line("//$D opis odcinka w srodku pliku");
        if (random_.below(3) == 0) writeConsist(section);
    }

    void writeTrack(std::uint32_t section, std::uint32_t i) {
        text_ += "node -1 0 t";
        appendNumber(section * 100 + i);
        text_ += " track normal ";
        appendNumber(10 + random_.below(90));
        text_ += ".0 1.435 0.2 5 20 0 1 flat vis rail_screw_used1 4 tpbps-new2 0.2 0.5 1.1 ";
        for (int p = 0; p < 2; ++p) {
            appendCoordinate();
            text_ += " 0.0 ";
            appendCoordinate();
            text_ += p == 0 ? " 0 0 0 0 0 0 " : " ";
        }
        line("0 0 endtrack");
    }

    void writeTraction(std::uint32_t section) {
        text_ += "node -1 0 w";
        appendNumber(section);
        text_ += " traction none cu 100 ";
        appendCoordinate();
        text_ += " 6.2 ";
        appendCoordinate();
        line(" 0.0 5.6 0.0 1 1 0 1.5 0.15 endtraction");
    }

    void writeEvent(std::uint32_t section) {
        text_ += "event ev";
        appendNumber(section);
        line(" multiple 0 none zwrotnica1 signal_a endevent");
        line("// semafor wjazdowy, sygnal S1 na wjazd do stacji");
        text_ += "include semafor.inc s";
        appendNumber(section);
        line(" 12.5 0 300 end");
    }

    void writeVehicle(const char* name, const char* folder, const char* type, const char* driver) {
        text_ += "node -1 0 ";
        text_ += name;
        text_ += " dynamic ";
        text_ += folder;
        text_ += " skin ";
        text_ += type;
        text_ += " 0 ";
        text_ += driver;
        line(" 0 x");
    }

    void writeConsist(std::uint32_t section) {
        text_ += "trainset poc";
        appendNumber(section);
        text_ += " t";
        appendNumber(section * 100);
        line(" 25.5 80");
        if (random_.below(2) == 0) {
            text_ += "//$O ";
            line(Notes[random_.below(std::size(Notes))]);
        }
        const std::uint32_t vehicles = 2 + random_.below(10);
        const bool drivable = random_.below(4) != 0;
        for (std::uint32_t v = 0; v < vehicles; ++v) {
            const std::string name = "v" + std::to_string(section) + "_" + std::to_string(v);
            if (v == 0 && drivable) {
                const VehicleKind& loco = Locomotives[random_.below(std::size(Locomotives))];
                writeVehicle(name.c_str(), loco.folder, loco.type, "headdriver");
            } else if (random_.below(5) == 0) {
                writeVehicle(name.c_str(), ForeignCars[random_.below(std::size(ForeignCars))],
                             "wagon", "nobody");
            } else {
                const VehicleKind& car = Cars[random_.below(std::size(Cars))];
                writeVehicle(name.c_str(), car.folder, car.type,
                             random_.below(3) == 0 ? "passenger" : "nobody");
            }
            if (random_.below(8) == 0) line("// sprzeg srubowy");
        }
        line("endtrainset");
    }

    std::string text_;
    Sequence random_;
};

constexpr std::string_view CatalogueText = "Katalog pojazdow\r\n"
                                           "EU07\r\nEU07\r\n1\r\n-\r\n"
                                           "EP07\r\nEP07\r\n1\r\n-\r\n"
                                           "EP09\r\nEP09\r\n1\r\n-\r\n"
                                           "ET22\r\nET22\r\n1\r\n-\r\n"
                                           "SM42\r\nSM42\r\n1\r\n-\r\n"
                                           "SU45\r\nSU45\r\n1\r\n-\r\n"
                                           "111A\r\nWagon 111A\r\n2\r\n-\r\n"
                                           "112A\r\nWagon 112A\r\n2\r\n-\r\n"
                                           "120A\r\nWagon 120A\r\n2\r\n-\r\n"
                                           "401Z\r\nWeglarka 401Z\r\n0\r\n-\r\n"
                                           "408S\r\nPlatforma 408S\r\n0\r\n-\r\n"
                                           "TOWAROWY\r\nWagon towarowy\r\n0\r\n-\r\n";

struct Fixture {
    std::string bytes;
    std::string path;
    VehicleCatalogue catalogue;
};

Fixture* fixture = nullptr;

void BM_BlockRead(benchmark::State& state) {
    std::vector<char> block(1u << 20);
    for (auto _ : state) {
        const int fd = ::open(fixture->path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            state.SkipWithError("cannot open the scenery");
            return;
        }
        std::size_t total = 0;
        for (ssize_t n; (n = ::read(fd, block.data(), block.size())) > 0;)
            total += static_cast<std::size_t>(n);
        ::close(fd);
        benchmark::DoNotOptimize(total);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

void BM_ConsistParser(benchmark::State& state) {
    auto table = std::make_unique<ConsistTable>();
    std::size_t rows = 0;
    for (auto _ : state) {
        table->clearRolesAndNotes();
        TextReader in = TextReader::open(fixture->path, SceneryLimits);
        rows = parseConsists(in, fixture->catalogue, *table).size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

// The parse alone, on the bytes already in memory.
void BM_ConsistParserInMemory(benchmark::State& state) {
    auto table = std::make_unique<ConsistTable>();
    for (auto _ : state) {
        table->clearRolesAndNotes();
        TextReader in(fixture->bytes);
        benchmark::DoNotOptimize(parseConsists(in, fixture->catalogue, *table).size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

std::size_t scanMarkers(TextReader& in) {
    SceneryMarkerScanner scanner;
    in.listenToBlocks(&scanner);
    in.skipToEnd();
    return scanner.finish().descriptionLines.size();
}

void BM_MarkerReader(benchmark::State& state) {
    std::size_t lines = 0;
    for (auto _ : state) {
        TextReader in = TextReader::open(fixture->path, SceneryLimits);
        lines = scanMarkers(in);
        benchmark::DoNotOptimize(lines);
    }
    state.counters["descriptionLines"] = static_cast<double>(lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

void BM_MarkerReaderInMemory(benchmark::State& state) {
    for (auto _ : state) {
        TextReader in(fixture->bytes);
        benchmark::DoNotOptimize(scanMarkers(in));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

// A scenery choice: the consists and the markers read from the same blocks.
void BM_SceneryRead(benchmark::State& state) {
    auto table = std::make_unique<ConsistTable>();
    std::size_t rows = 0;
    for (auto _ : state) {
        table->clearRolesAndNotes();
        rows = readScenery(fixture->path, fixture->catalogue, *table).rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

// One byte at a time, as a hand-written reader loop would go; kept scalar on purpose.
#if defined(__clang__)
std::size_t countSlashes(const char* p, std::size_t n) {
    std::size_t count = 0;
#pragma clang loop vectorize(disable) interleave(disable)
    for (std::size_t i = 0; i < n; ++i) count += p[i] == '/';
    return count;
}
#else
__attribute__((optimize("no-tree-vectorize"))) std::size_t countSlashes(const char* p,
                                                                        std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i) count += p[i] == '/';
    return count;
}
#endif

void BM_PerByteLoop(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(countSlashes(fixture->bytes.data(), fixture->bytes.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture->bytes.size()));
}

BENCHMARK(BM_BlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerByteLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsistParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsistParserInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkerReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkerReaderInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneryRead)->Unit(benchmark::kMillisecond);

bool writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture data;
    data.bytes = SceneryWriter().build();
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rsim-bench-XXXXXX.scn";
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) {
        std::perror("rsim_bench: cannot create the scenery file");
        return 1;
    }
    ::close(fd);
    data.path = pattern;
    if (!writeFile(data.path, data.bytes)) {
        std::perror("rsim_bench: cannot write the scenery file");
        ::unlink(data.path.c_str());
        return 1;
    }
    TextReader catalogueIn(CatalogueText);
    data.catalogue = readVehicleCatalogue(catalogueIn);
    fixture = &data;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ::unlink(data.path.c_str());
    return 0;
}
