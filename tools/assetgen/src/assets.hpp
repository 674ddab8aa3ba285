// Entry points of the individual asset generators. Each writes its files
// below outDir (the repository root when refreshing the committed assets).
#pragma once

#include <string>

namespace assetgen {

bool generateTube(const std::string& outDir);
bool generateCar(const std::string& outDir);
bool generateObstacleTexture(const std::string& outDir);
bool generateFireworkTexture(const std::string& outDir);
bool generateLensFlares(const std::string& outDir);
bool generateIcon(const std::string& outDir);
bool generateSounds(const std::string& outDir);

} // namespace assetgen
