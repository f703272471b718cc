// Text, ByteSet and Array driven by the input as a program of operations, each
// checked against a plain std::string or std::vector model; AddressSanitizer
// and UndefinedBehaviorSanitizer watch every byte the value types touch, and
// LeakSanitizer every block they leave behind.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "text/text.h"

namespace {

// Reads the operation program; past the end every read gives zero.
class Program {
public:
    Program(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}
    bool done() const { return at_ >= end_; }
    std::uint8_t byte() { return at_ < end_ ? *at_++ : 0; }
    std::int32_t int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | byte();
        return static_cast<std::int32_t>(value);
    }
    // A run of input bytes, zero bytes included, its length given by one byte.
    std::string bytes() {
        const std::size_t length = std::min<std::size_t>(byte(), static_cast<std::size_t>(end_ - at_));
        std::string run(reinterpret_cast<const char*>(at_), length);
        at_ += length;
        return run;
    }

private:
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

const std::size_t largest_join = 1 << 16;

std::string before_zero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

void fail(const char* what, int operation) {
    std::fprintf(stderr, "%s differs from its model after operation %d\n", what, operation);
    std::abort();
}

void check(const Text& text, const std::string& model, int operation) {
    if (text.length() != model.size() || std::memcmp(text.c_str(), model.data(), model.size()) != 0 ||
        text.c_str()[text.length()] != '\0' || text.empty() != model.empty())
        fail("a Text", operation);
}

void check(const ByteSet& bytes, const std::string& model, int operation) {
    if (bytes.size() != model.size() || byte_set_size(bytes) != model.size() ||
        (!model.empty() && std::memcmp(bytes.data(), model.data(), model.size()) != 0) ||
        bytes.empty() != model.empty())
        fail("a ByteSet", operation);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Program program(data, size);
    Text texts[2];
    std::string text_models[2];
    ByteSet sets[2];
    std::string set_models[2];
    Array<Text> array;
    std::vector<std::string> array_model;

    for (int operation = 0; !program.done(); ++operation) {
        const std::uint8_t code = program.byte();
        const int i = code >> 7, j = 1 - i;
        switch (code % 18) {
        case 0: {
            const std::string run = program.bytes();
            texts[i] = Text(run.data(), static_cast<std::uint32_t>(run.size()));
            text_models[i] = before_zero(run);
            break;
        }
        case 1: {
            const std::string run = program.bytes();
            texts[i].append(run.data(), static_cast<std::uint32_t>(run.size()));
            text_models[i] += before_zero(run);
            break;
        }
        case 2: texts[i].reserve(program.byte() * 16u); break;
        case 3:
            texts[i] = texts[j];
            text_models[i] = text_models[j];
            break;
        case 4:
            // A moved-from Text is the empty Text.
            texts[i] = std::move(texts[j]);
            text_models[i] = std::move(text_models[j]);
            text_models[j].clear();
            break;
        case 5:
            swap(texts[0], texts[1]);
            std::swap(text_models[0], text_models[1]);
            break;
        case 6: {
            const std::string run = program.bytes();
            if (!sets[i].try_append(run.data(), static_cast<std::uint32_t>(run.size())))
                fail("try_append", operation);
            set_models[i] += run;
            break;
        }
        case 7:
            if (!sets[i].try_reserve(program.byte() * 64u)) fail("try_reserve", operation);
            break;
        case 8: sets[i].shrink_to_fit(); break;
        case 9:
            sets[i] = sets[j];
            set_models[i] = set_models[j];
            break;
        case 10: {
            const std::string run = program.bytes();
            sets[i] = ByteSet(run.data(), static_cast<std::uint32_t>(run.size()));
            set_models[i] = run;
            break;
        }
        case 11:
            texts[i] = text_of_bytes(sets[j]);
            text_models[i] = before_zero(set_models[j]);
            break;
        case 12: {
            const std::int32_t value = program.int32();
            texts[i] = text_of_int(value);
            text_models[i] = std::to_string(value);
            break;
        }
        case 13: {
            const std::string literal = before_zero(program.bytes());
            // Joined into itself, a Text triples: past a bound the run would
            // measure the heap's speed, not the code's.
            if (text_models[0].size() + text_models[1].size() + text_models[i].size() > largest_join) break;
            texts[i] = join_text({texts[0], literal.c_str(), nullptr, texts[1], texts[i]});
            text_models[i] = text_models[0] + literal + text_models[1] + text_models[i];
            break;
        }
        case 14:
            array.push_back(Text(texts[i]));
            array_model.push_back(text_models[i]);
            break;
        case 15: {
            // A part of its own bytes, which growing may move away.
            const std::size_t from = set_models[i].empty() ? 0 : program.byte() % set_models[i].size();
            const std::size_t count = std::min<std::size_t>(program.byte(), set_models[i].size() - from);
            if (!sets[i].try_append(sets[i].data() + from, static_cast<std::uint32_t>(count)))
                fail("try_append of its own bytes", operation);
            set_models[i] += set_models[i].substr(from, count);
            break;
        }
        case 16: {
            const std::size_t from = text_models[i].empty() ? 0 : program.byte() % text_models[i].size();
            const std::size_t count = std::min<std::size_t>(program.byte(), text_models[i].size() - from);
            texts[i].append(texts[i].c_str() + from, static_cast<std::uint32_t>(count));
            text_models[i] += text_models[i].substr(from, count);
            break;
        }
        default: {
            Array<Text> moved(std::move(array));
            if (array_element_count(array) != 0) fail("a moved-from Array", operation);
            array = std::move(moved);
            break;
        }
        }
        for (int k = 0; k < 2; ++k) {
            check(texts[k], text_models[k], operation);
            check(sets[k], set_models[k], operation);
        }
        if (array_element_count(array) != array_model.size()) fail("an Array's count", operation);
        for (std::uint32_t k = 0; k < array_model.size(); ++k) check(array[k], array_model[k], operation);
    }
    return 0;
}
