// velorun-assetgen OUTDIR
//
// Regenerates every mesh, texture, sound and font file the game loads below OUTDIR
// (pass the repository root to refresh the committed copies). The output is
// fully deterministic: no clock, no global rand(), fixed number formatting.

#include <filesystem>
#include <iostream>
#include <string>

#include <FreeImage.h>

#include "assets.hpp"
#include "image.hpp"

namespace {

// The HUD font is Carlito (metric-compatible with Calibri, SIL OFL 1.1),
// shipped by Debian's fonts-crosextra-carlito package. We ship it under the
// file name the game looks for, together with its licence text.
constexpr const char* kFontSource = "/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf";
constexpr const char* kFontLicence = "/usr/share/doc/fonts-crosextra-carlito/copyright";

bool copyFile(const std::string& from, const std::string& to)
{
    if (!assetgen::ensureParentDir(to))
        return false;
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        std::cerr << "assetgen: cannot copy " << from << " -> " << to << ": " << ec.message() << "\n";
        return false;
    }
    return true;
}

bool copyFont(const std::string& outDir)
{
    if (!std::filesystem::exists(kFontSource) || !std::filesystem::exists(kFontLicence)) {
        std::cerr << "assetgen: warning: " << kFontSource
                  << " not found (install fonts-crosextra-carlito); font left untouched\n";
        return true;
    }
    const bool ok = copyFile(kFontSource, outDir + "/Resources/Fonts/calibri.ttf") &&
                    copyFile(kFontLicence, outDir + "/Resources/Fonts/LICENSE-Carlito.txt");
    if (ok)
        std::cout << "font: Carlito-Regular -> Resources/Fonts/calibri.ttf\n";
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help") {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "velorun-assetgen") << " OUTDIR\n"
                  << "Writes Resources/ and Textures/ assets below OUTDIR.\n";
        return argc == 2 ? 0 : 2;
    }
    const std::string outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "assetgen: cannot create " << outDir << ": " << ec.message() << "\n";
        return 1;
    }

    FreeImage_Initialise(FALSE);
    const bool ok = assetgen::generateTube(outDir) && assetgen::generateCar(outDir) &&
                    assetgen::generateObstacleTexture(outDir) && assetgen::generateFireworkTexture(outDir) &&
                    assetgen::generateLensFlares(outDir) && assetgen::generateIcon(outDir) &&
                    assetgen::generateSounds(outDir) && copyFont(outDir);
    FreeImage_DeInitialise();
    if (!ok) {
        std::cerr << "assetgen: FAILED\n";
        return 1;
    }
    return 0;
}
