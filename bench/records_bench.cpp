// Search and export over a generated 1 GB table (10 million 100-byte records), side by side
// with grep -F and an awk field export over the same file in the same run.
#include "common/text.h"
#include "records/export.h"
#include "records/field_bytes.h"
#include "records/search.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>

namespace {

using namespace orvex;
namespace fs = std::filesystem;

constexpr std::int32_t kRecords = 10'000'000;
constexpr std::int32_t kRecordBytes = 100;
// A stride coprime with the count walks every record once, far from the previous one: an
// index in name order looks like this to the disk cache.
constexpr std::int64_t kIndexStride = 7'368'787;

// Text that occurs nowhere in the table; digits only, so every number is formatted to look.
constexpr const char* kAbsentText = "ZQXJWK";
constexpr const char* kAbsentDigits = "77777777777";

// Binary fields avoid line ends and NUL so that grep and awk see one line per record.
bool lineSafe(const std::string& bytes)
{
    return bytes.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

class Table {
public:
    Table()
    {
        m_dir = fs::temp_directory_path() / ("orvex-records-bench-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        m_data = (m_dir / "tabla.dat").string();
        generate();
    }
    ~Table() { fs::remove_all(m_dir); }

    const fs::path& dir() const { return m_dir; }
    const std::string& data() const { return m_data; }
    std::int64_t bytes() const { return static_cast<std::int64_t>(kRecords) * kRecordBytes; }
    // 0: file order; 1: through an index in name order; 2: through an index in file order.
    const TableLayout& layout(std::int64_t order) const { return m_layouts[order]; }
    const std::vector<FieldDescription>& fields() const { return m_fields; }

private:
    void generate()
    {
        const char* first[]
            = { "Ana", "Luis", "Marta", "Pedro", "Sofía", "Tomás", "Elena", "Diego" };
        const char* last[]
            = { "Peña", "Gómez", "Rojas", "Vargas", "Muñoz", "López", "Díaz", "Ortiz" };
        const char* cities[] = { "Bogotá", "Medellín", "Cali", "Pereira", "Manizales", "Cúcuta" };
        std::mt19937_64 random(2024);
        std::ofstream out(m_data, std::ios::binary);
        std::string block;
        for (std::int32_t k = 1; k <= kRecords; ++k) {
            const std::string name = std::string(first[random() % 8]) + " " + last[random() % 8]
                + " " + last[random() % 8] + " " + std::to_string(k % 977);
            std::string count, balance;
            do
                count = mkl(static_cast<std::int32_t>(random() % 2'000'000'000));
            while (!lineSafe(count));
            do
                balance = mkd(static_cast<double>(random() % 100'000'000) / 100.0);
            while (!lineSafe(balance));
            char date[16];
            std::snprintf(date, sizeof date, "%d/%d/%d", 1 + static_cast<int>(random() % 28),
                1 + static_cast<int>(random() % 12), 1950 + static_cast<int>(random() % 75));
            char code[16];
            std::snprintf(code, sizeof code, "CL-%08d", k);
            block += fixedField(name, 40) + fixedField(cities[random() % 6], 24) + count + balance
                + fixedField(date, 10) + fixedField(code, 12) + "\r\n";
            if (block.size() >= (1 << 20) || k == kRecords) {
                out << block;
                block.clear();
            }
        }
        out.close();
        // By name: records all over the file. By code: the records' own order.
        std::ofstream byName(m_dir / "nombre.ndx", std::ios::binary),
            byCode(m_dir / "codigo.ndx", std::ios::binary);
        std::string codes;
        for (std::int64_t i = 0; i < kRecords; ++i) {
            block += "key!" + mkl(static_cast<std::int32_t>((i * kIndexStride) % kRecords + 1));
            codes += "key!" + mkl(static_cast<std::int32_t>(i + 1));
            if (block.size() >= (1 << 20) || i + 1 == kRecords) {
                byName << block;
                byCode << codes;
                block.clear();
                codes.clear();
            }
        }

        const FieldDescription header { "Nro", { 4, 2, 0, 0, 10, 5, 0, 0, 0, 0, 0 }, "" };
        m_fields = { header, { "Nombre", { 40, 0, 0, 0, 40, 5 }, "" },
            { "Ciudad", { 24, 0, 0, 0, 24, 5 }, "" }, { "Cuotas", { 4, 40, 0, 0, 10, 10 }, "" },
            { "Saldo", { 8, 80, 0, 0, 12, 9, 2 }, "" }, { "Fecha", { 10, 10, 0, 0, 10, 5 }, "" },
            { "Código", { 12, 0, 0, 0, 12, 5 }, "" }, { "Fin", { 2, 0, 1, 0, 2, 5 }, "" } };
        TableConfig config;
        config.record.dataPath = m_data;
        config.record.indexPath = (m_dir / "nombre.ndx").string();
        config.fields = m_fields;
        m_layouts[1] = buildTableLayout(config, "bench");
        config.record.indexPath = (m_dir / "codigo.ndx").string();
        m_layouts[2] = buildTableLayout(config, "bench");
        config.fields[0].i[1] = 0;
        m_layouts[0] = buildTableLayout(config, "bench");
    }

    fs::path m_dir;
    std::string m_data;
    std::vector<FieldDescription> m_fields;
    TableLayout m_layouts[3];
};

const Table& table()
{
    static const Table t;
    return t;
}

struct NoWait : TableWaitHooks {
    bool waitWindow(const std::string&, const std::function<BusyTest()>&) override { return false; }
    void status(const std::string&) override { }
};

double cpuSeconds(int who)
{
    rusage usage {};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Throughput by processor time as well as by the clock: the machine is shared, and a busy
// neighbour slows the clock figures of both sides differently. who is RUSAGE_SELF for the
// program's own work, RUSAGE_CHILDREN for grep and awk.
template <class Body> void measure(benchmark::State& state, int who, Body body)
{
    const double before = cpuSeconds(who);
    for (auto _ : state)
        body();
    const double cpu = cpuSeconds(who) - before;
    const double bytes = static_cast<double>(state.iterations() * table().bytes());
    state.SetBytesProcessed(state.iterations() * table().bytes());
    state.counters["MB_per_cpu_s"] = cpu > 0 ? bytes / cpu / 1e6 : 0;
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void runShell(benchmark::State& state, const std::string& command)
{
    measure(state, RUSAGE_CHILDREN, [&] {
        if (std::system(command.c_str()) == -1)
            state.SkipWithError("could not start the shell");
    });
}

void BM_GrepCountFixed(benchmark::State& state)
{
    runShell(state,
        std::string("LC_ALL=C grep -c -F ") + kAbsentText + " " + table().data() + " >/dev/null");
}

void BM_GrepCountFixedIgnoreCase(benchmark::State& state)
{
    runShell(state,
        std::string("LC_ALL=C grep -c -F -i ") + kAbsentText + " " + table().data()
            + " >/dev/null");
}

void BM_AwkFieldExport(benchmark::State& state)
{
    const std::string out = (table().dir() / "awk.txt").string();
    runShell(state,
        "LC_ALL=C awk '{ print substr($0,1,40) \"\\t\" substr($0,41,24) \"\\t\" substr($0,65,4) "
        "\"\\t\" "
        "substr($0,69,8) \"\\t\" substr($0,77,10) \"\\t\" substr($0,87,12) \"\\t\" }' "
            + table().data() + " > " + out);
    fs::remove(out);
}

// state.range(0): browsing order (see Table::layout); range(1): field searched (0 every
// field); range(2): match case.
void BM_Search(benchmark::State& state)
{
    const std::int64_t order = state.range(0);
    table(); // generated before the clock starts
    SearchRequest request;
    request.field = static_cast<int>(state.range(1));
    request.matchCase = state.range(2) != 0;
    request.text = request.field == 0 ? kAbsentDigits : kAbsentText;
    NoWait hooks;
    measure(state, RUSAGE_SELF, [&] {
        const auto access = TableAccess::open(table().layout(order), AccessKind::Reading, hooks);
        if (findNext(*access, kRecords, 0, request))
            state.SkipWithError("found a text that is not there");
    });
}

void BM_Export(benchmark::State& state)
{
    const std::int64_t order = state.range(0);
    table(); // generated before the clock starts
    NoWait hooks;
    measure(state, RUSAGE_SELF, [&] {
        const auto access = TableAccess::open(table().layout(order), AccessKind::Reading, hooks);
        exportTable(*access, table().fields(), kRecords, table().dir().string());
    });
    fs::remove(table().dir() / "tabla.TXT");
}

void configure(benchmark::internal::Benchmark* b)
{
    b->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime()->Unit(
        benchmark::kMillisecond);
}

// A scattered index costs one read per record: fewer repetitions keep the run short.
void configureSlow(benchmark::internal::Benchmark* b)
{
    configure(b);
    b->Repetitions(3);
}

BENCHMARK(BM_GrepCountFixed)->Apply(configure);
BENCHMARK(BM_GrepCountFixedIgnoreCase)->Apply(configure);
BENCHMARK(BM_Search)
    ->ArgNames({ "order", "field", "case" })
    ->Args({ 0, 1, 1 })
    ->Args({ 0, 1, 0 })
    ->Args({ 0, 0, 0 })
    ->Args({ 2, 1, 0 })
    ->Args({ 2, 0, 0 })
    ->Apply(configure);
BENCHMARK(BM_Search)
    ->ArgNames({ "order", "field", "case" })
    ->Args({ 1, 1, 0 })
    ->Args({ 1, 0, 0 })
    ->Apply(configureSlow);
BENCHMARK(BM_AwkFieldExport)->Apply(configure);
BENCHMARK(BM_Export)->ArgNames({ "order" })->Arg(0)->Arg(2)->Apply(configure);
BENCHMARK(BM_Export)->ArgNames({ "order" })->Arg(1)->Apply(configureSlow);

} // namespace
