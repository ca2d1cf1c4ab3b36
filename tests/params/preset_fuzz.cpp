// A libFuzzer target for the preset reader and the live-object text
// loader: any bytes, read as a record of every preset type with every
// record number, must neither crash nor read past the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "params/live_params.hpp"
#include "params/preset_library.hpp"
#include "params/preset_text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes: the sanitizer sees any read past it.
    std::unique_ptr<char[]> text(new char[size > 0 ? size : 1]);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(data[i]);
    std::string_view record(text.get(), size);
    if (size > vtg::kMaxRecordBytes)
        return 0; // the loaders refuse such texts before reading them
    for (const vtg::PresetType* type : vtg::AllPresetTypes()) {
        std::vector<std::max_align_t> block(type->blockSize / sizeof(std::max_align_t) + 1);
        vtg::InitParamBlock(*type, block.data());
        for (int n : {vtg::kRecordDefault, vtg::kRecordLast, 0})
            vtg::ReadPresetRecord(record, block.data(), n);
        if (type->liveKind >= 0)
            vtg::ReadLiveObjectRecord(record, block.data(), type->liveKind);
    }
    return 0;
}
