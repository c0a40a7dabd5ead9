// Tests of the SZDD compressor and expander: exact bytes, round trips and damaged input.
#include "platform/formats/szdd.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vandrel::platform::szdd {
namespace {

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Deterministic data mixing words, runs and noise.
Bytes mixedData(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  const char* words[] = {"setup ", "install ", "the ", "file ", "copy\r\n", "version ", "disk "};
  Bytes out;
  while (out.size() < size) {
    unsigned kind = random() % 4;
    if (kind < 2) {
      std::string w = words[random() % 7];
      out.insert(out.end(), w.begin(), w.end());
    } else if (kind == 2) {
      out.insert(out.end(), random() % 40, std::uint8_t(random()));
    } else {
      for (int i = random() % 30; i > 0; --i) out.push_back(std::uint8_t(random()));
    }
  }
  out.resize(size);
  return out;
}

TEST(SzddFormat, HeaderBytesAreExact) {
  Bytes out = compress(bytesOf("abc"), 'e');
  ASSERT_GE(out.size(), HeaderSize);
  const Bytes header = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'e', 3, 0, 0, 0};
  EXPECT_EQ(Bytes(out.begin(), out.begin() + HeaderSize), header);
  // Three literals: one flag byte with the three low bits set, then the bytes.
  EXPECT_EQ(Bytes(out.begin() + HeaderSize, out.end()), (Bytes{0x07, 'a', 'b', 'c'}));
}

TEST(SzddFormat, LengthIsLittleEndian) {
  Bytes data(0x012345, 'x');
  Bytes out = compress(data);
  auto header = parseHeader(out.data(), out.size());
  ASSERT_TRUE(header);
  EXPECT_EQ(header->length, 0x012345u);
  EXPECT_EQ(out[10], 0x45);
  EXPECT_EQ(out[11], 0x23);
  EXPECT_EQ(out[12], 0x01);
}

TEST(SzddFormat, MatchCodesWindowPositionAndLength) {
  // "abcabcabc": three literals, then one match of six bytes from the first "a", which the
  // window holds at position 4096 - 16 = 0xFF0: low byte 0xF0, then high nibble 0xF and
  // length 6 - 3.
  Bytes out = compress(bytesOf("abcabcabc"));
  EXPECT_EQ(Bytes(out.begin() + HeaderSize, out.end()), (Bytes{0x07, 'a', 'b', 'c', 0xF0, 0xF3}));
}

TEST(SzddFormat, LeadingSpacesMatchTheInitialWindow) {
  // The window starts filled with spaces, so a file of spaces needs no literal at all.
  Bytes data(18, ' ');
  Bytes out = compress(data);
  EXPECT_EQ(out.size(), HeaderSize + 3);
  EXPECT_EQ(out[HeaderSize], 0x00);  // one match
  Bytes expanded;
  ASSERT_EQ(expand(out, expanded), Status::Ok);
  EXPECT_EQ(expanded, data);
}

TEST(SzddFormat, HandWrittenStreamWithOverlappingMatchExpands) {
  // Literal "x", then a match of 10 bytes starting one byte back: "xxxxxxxxxxx".
  Bytes file = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 0, 11, 0, 0, 0,
                0x01, 'x', 0xF0, 0xF7};
  Bytes out;
  ASSERT_EQ(expand(file, out), Status::Ok);
  EXPECT_EQ(out, Bytes(11, 'x'));
}

TEST(SzddRoundTrip, VariedSizesAndContents) {
  struct Case {
    const char* name;
    Bytes data;
  };
  const Case cases[] = {
      {"empty", {}},
      {"one byte", {'z'}},
      {"under a match", bytesOf("ab")},
      {"all zero", Bytes(100000, 0)},
      {"all spaces", Bytes(5000, ' ')},
      {"mixed small", mixedData(777, 1)},
      {"mixed across blocks", mixedData(700000, 2)},
      {"window edge repeats", [] {
         Bytes b = mixedData(4095, 3);
         Bytes twice = b;
         twice.insert(twice.end(), b.begin(), b.end());
         twice.insert(twice.end(), b.begin(), b.end());
         return twice;
       }()},
  };
  for (const Case& c : cases) {
    for (bool lazy : {false, true}) {
      Bytes packed = compress(c.data, 'x', CompressOptions{64, lazy});
      Bytes unpacked;
      ASSERT_EQ(expand(packed, unpacked), Status::Ok) << c.name;
      EXPECT_EQ(unpacked, c.data) << c.name << (lazy ? " lazy" : " greedy");
    }
  }
}

TEST(SzddRoundTrip, RepetitiveDataCompressesWell) {
  Bytes data;
  for (int i = 0; i < 2000; ++i) {
    std::string line = "line " + std::to_string(i % 50) + " of the installation log\r\n";
    data.insert(data.end(), line.begin(), line.end());
  }
  Bytes packed = compress(data);
  EXPECT_LT(packed.size(), data.size() / 5);
}

TEST(SzddStreaming, SmallReadsAndWritesGiveTheSameBytes) {
  Bytes data = mixedData(300000, 4);
  Bytes whole = compress(data);
  // A source that hands out at most 7 bytes a time.
  std::size_t offset = 0;
  Source trickle = [&](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    std::size_t n = std::min<std::size_t>({count, 7, data.size() - offset});
    std::copy(data.begin() + offset, data.begin() + offset + n, buffer);
    offset += n;
    return std::int64_t(n);
  };
  Bytes streamed;
  ASSERT_EQ(compress(trickle, data.size(), 0, memorySink(streamed)), Status::Ok);
  EXPECT_EQ(streamed, whole);

  offset = 0;
  Bytes expanded;
  std::uint64_t written = 0;
  Source trickleCompressed = [&](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    std::size_t n = std::min<std::size_t>({count, 5, whole.size() - offset});
    std::copy(whole.begin() + offset, whole.begin() + offset + n, buffer);
    offset += n;
    return std::int64_t(n);
  };
  ASSERT_EQ(expand(trickleCompressed, memorySink(expanded), &written), Status::Ok);
  EXPECT_EQ(expanded, data);
  EXPECT_EQ(written, data.size());
}

TEST(SzddDamaged, TruncationAtEveryOffsetIsAnError) {
  Bytes data = mixedData(3000, 5);
  Bytes packed = compress(data);
  for (std::size_t cut = 0; cut < packed.size(); ++cut) {
    Bytes part(packed.begin(), packed.begin() + cut);
    Bytes out;
    Status status = expand(part, out);
    if (cut < sizeof Magic) {
      EXPECT_EQ(status, Status::NotCompressed) << cut;
    } else {
      EXPECT_EQ(status, Status::Truncated) << cut;
    }
  }
}

TEST(SzddDamaged, LengthDisagreeingWithDataIsAnError) {
  Bytes packed = compress(mixedData(5000, 6));
  Bytes longer = packed, shorter = packed;
  longer[10] = std::uint8_t(longer[10] + 1);  // claims one byte more than the data gives
  shorter[10] = std::uint8_t(shorter[10] - 1);  // the data gives one byte more than claimed
  Bytes out;
  EXPECT_EQ(expand(longer, out), Status::Truncated);
  EXPECT_EQ(expand(shorter, out), Status::Corrupt);
  Bytes huge = packed;
  huge[13] = 0xFF;  // claims about 4 GiB: an error at the end of the data, no huge allocation
  EXPECT_EQ(expand(huge, out), Status::Truncated);
}

TEST(SzddDamaged, RandomDamageNeverCrashesOrLoops) {
  Bytes packed = compress(mixedData(20000, 7));
  std::mt19937 random(8);
  for (int round = 0; round < 300; ++round) {
    Bytes bad = packed;
    for (int k = 0; k < 5; ++k) bad[HeaderSize + random() % (bad.size() - HeaderSize)] = std::uint8_t(random());
    Bytes out;
    Status status = expand(bad, out);
    // Damage inside the data changes the bytes but may keep the length right.
    EXPECT_TRUE(status == Status::Ok || status == Status::Truncated || status == Status::Corrupt);
    if (status == Status::Ok) {
      EXPECT_EQ(out.size(), 20000u);
    }
  }
}

TEST(SzddDamaged, OtherMethodsAndPlainFilesAreRecognised) {
  Bytes packed = compress(bytesOf("hello hello hello"));
  Bytes other = packed;
  other[8] = 'B';
  Bytes out;
  EXPECT_EQ(expand(other, out), Status::UnknownMethod);
  EXPECT_EQ(expand(bytesOf("MZ plain executable"), out), Status::NotCompressed);
}

TEST(SzddErrors, ReadAndWriteFailuresAreReported) {
  Bytes packed = compress(mixedData(200000, 9));
  Source failing = [](std::uint8_t*, std::size_t) -> std::int64_t { return -1; };
  Bytes out;
  EXPECT_EQ(expand(failing, memorySink(out)), Status::ReadFailed);
  Sink full = [](const std::uint8_t*, std::size_t) { return false; };
  EXPECT_EQ(expand(memorySource(packed.data(), packed.size()), full), Status::WriteFailed);
  Bytes data = mixedData(1000, 10);
  EXPECT_EQ(compress(memorySource(data.data(), data.size()), data.size(), 0, full),
            Status::WriteFailed);
  // A source shorter than announced.
  Bytes sink;
  EXPECT_EQ(compress(memorySource(data.data(), 500), data.size(), 0, memorySink(sink)),
            Status::Truncated);
  EXPECT_EQ(compress(memorySource(data.data(), 0), std::uint64_t(1) << 32, 0, memorySink(sink)),
            Status::TooLarge);
}

}  // namespace
}  // namespace vandrel::platform::szdd
