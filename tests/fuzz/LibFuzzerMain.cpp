// One libFuzzer binary per entry function, chosen at compile time.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::LEDGE_FUZZ_ENTRY(QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size)));
    return 0;
}
