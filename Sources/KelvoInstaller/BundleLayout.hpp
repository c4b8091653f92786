#pragma once

// Where the parts of an installed bundle lie within it.
namespace kelvo::installer::layout {

inline constexpr const char* executablePath = "Contents/MacOS/Kelvo";
inline constexpr const char* infoPath = "Contents/Info.plist";
inline constexpr const char* dictionaryPath = "Contents/Resources/data/data.txt";
inline constexpr const char* sealPath = "Contents/_CodeSignature/CodeResources";

} // namespace kelvo::installer::layout
