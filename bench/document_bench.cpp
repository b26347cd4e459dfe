// Reading documents: our inflate beside zlib's on the same data (zlib is the yardstick here
// only; the product does not use it), and the whole text of a .docx of about 10 MB.
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "document/code_pages.h"
#include "document/document_text.h"
#include "document/inflate.h"
#include "document/zip_reader.h"

namespace {

// word/document.xml of a text of plain paragraphs: words of random letters, some of them
// accented, which compress about as well as real prose.
std::string WordXml(std::size_t textBytes) {
    static const char* const kLetters[] = {"e", "t", "a", "o", "i", "n", "s", "h", "r", "d",
                                           "l", "u", "c", "m", "w", "f", "g", "y", "p", "b",
                                           "v", "k", "\xc3\xa9", "\xc3\xa0", "\xc3\xbc"};
    std::mt19937 random(19);
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document xmlns:w=\"http://schemas."
        "openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    std::size_t text = 0;
    while (text < textBytes) {
        std::string paragraph;
        const int words = 5 + static_cast<int>(random() % 60);
        for (int i = 0; i < words; ++i) {
            if (i > 0) paragraph += ' ';
            const int letters = 1 + static_cast<int>(random() % 9);
            for (int j = 0; j < letters; ++j) {
                paragraph += kLetters[random() % (sizeof kLetters / sizeof kLetters[0])];
            }
        }
        xml += "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/></w:pPr><w:r><w:rPr><w:lang "
               "w:val=\"en-GB\"/></w:rPr><w:t xml:space=\"preserve\">" +
               paragraph + "</w:t></w:r></w:p>";
        text += paragraph.size() + 2;
    }
    return xml + "</w:body></w:document>";
}

std::string RawDeflate(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

void Put(std::string* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A zip file of one deflated entry.
std::string OneEntryZip(const char* name, const std::string& data) {
    const std::string compressed = RawDeflate(data);
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const auto nameLength = static_cast<std::uint32_t>(std::string(name).size());
    std::string zip;
    Put(&zip, 0x04034B50, 4), Put(&zip, 20, 2), Put(&zip, 0, 2), Put(&zip, 8, 2), Put(&zip, 0, 4);
    Put(&zip, crc, 4), Put(&zip, static_cast<std::uint32_t>(compressed.size()), 4);
    Put(&zip, static_cast<std::uint32_t>(data.size()), 4), Put(&zip, nameLength, 2);
    Put(&zip, 0, 2);
    zip += name + compressed;
    const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
    Put(&zip, 0x02014B50, 4), Put(&zip, 20, 2), Put(&zip, 20, 2), Put(&zip, 0, 2);
    Put(&zip, 8, 2), Put(&zip, 0, 4), Put(&zip, crc, 4);
    Put(&zip, static_cast<std::uint32_t>(compressed.size()), 4);
    Put(&zip, static_cast<std::uint32_t>(data.size()), 4), Put(&zip, nameLength, 2);
    Put(&zip, 0, 4), Put(&zip, 0, 4), Put(&zip, 0, 4), Put(&zip, 0, 4);
    zip += name;
    const auto directorySize = static_cast<std::uint32_t>(zip.size()) - directoryOffset;
    Put(&zip, 0x06054B50, 4), Put(&zip, 0, 4), Put(&zip, 1, 2), Put(&zip, 1, 2);
    Put(&zip, directorySize, 4), Put(&zip, directoryOffset, 4), Put(&zip, 0, 2);
    return zip;
}

struct InflateData {
    std::string plain = WordXml(8 << 20);
    std::string compressed = RawDeflate(plain);
};
const InflateData& SharedInflateData() {
    static const InflateData data;
    return data;
}

void Inflate_Ours(benchmark::State& state) {
    const InflateData& data = SharedInflateData();
    std::vector<unsigned char> out(data.plain.size());
    for (auto _ : state) {
        const InflateResult result =
            Inflate(reinterpret_cast<const unsigned char*>(data.compressed.data()),
                    data.compressed.size(), out.data(), out.size());
        if (result != InflateResult::Done || std::string(out.begin(), out.end()) != data.plain) {
            state.SkipWithError("our inflate differs from the original");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * out.size()));
}
BENCHMARK(Inflate_Ours)->Unit(benchmark::kMillisecond);

void Inflate_Zlib(benchmark::State& state) {
    const InflateData& data = SharedInflateData();
    std::vector<unsigned char> out(data.plain.size());
    for (auto _ : state) {
        z_stream stream{};
        inflateInit2(&stream, -15);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.compressed.data()));
        stream.avail_in = static_cast<uInt>(data.compressed.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        const int result = inflate(&stream, Z_FINISH);
        inflateEnd(&stream);
        if (result != Z_STREAM_END || std::string(out.begin(), out.end()) != data.plain) {
            state.SkipWithError("zlib's inflate differs from the original");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * out.size()));
}
BENCHMARK(Inflate_Zlib)->Unit(benchmark::kMillisecond);

// A .docx of about 10 MB: its text is read and encoded in code page 1252.
void ReadDocx_10MB(benchmark::State& state) {
    static const std::string docx = [] {
        std::string xml = WordXml(18 << 20);
        return OneEntryZip("word/document.xml", xml);
    }();
    const SingleByteEncoder encoder(*FindCodePage(1252));
    for (auto _ : state) {
        const DocumentText text = ReadDocumentText(docx, "bench.docx", encoder);
        if (text.error != DocumentError::None) {
            state.SkipWithError(DocumentErrorReason(text.error));
            break;
        }
        benchmark::DoNotOptimize(text.text.data());
    }
    state.counters["docx_MB"] = static_cast<double>(docx.size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * docx.size()));
}
BENCHMARK(ReadDocx_10MB)->Unit(benchmark::kMillisecond);

}  // namespace
