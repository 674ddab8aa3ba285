// Data files whose headers declare more than the game can take: an image
// one pixel wider than the cap, a TGA header declaring gigabytes, a bitmap
// font with a glyph 60000 pixels wide, OBJ faces pointing past their vertex
// list; and files no decoder may be handed: a GIF, whose size shows only once
// decoded, a cut-short TGA as a model texture (SOIL reads past its end), a
// 1-bit glyph. Each is reported and skipped, raises no GL error and makes no
// loader allocate what the header declares.
#include "SceneFixture.h"

#include "game/StartUp.h"
#include "render/RenderState.h"
#include "render/TextRenderer.h"
#include "render/Texture2D.h"
#include "scene/Model.h"

#include <functional>
#include <sys/resource.h>

namespace velorun::test {
namespace {

using namespace std::string_literals;

// Highest resident memory of the process so far, in MiB.
long peakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// An uncompressed true-colour TGA header declaring width x height, then a
// few bytes of pixels.
std::string tgaDeclaring(unsigned width, unsigned height)
{
    std::string tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (unsigned side : {width, height}) {
        tga += static_cast<char>(side & 255);
        tga += static_cast<char>(side >> 8 & 255);
    }
    tga += {24, 0x20};
    return tga + std::string(3000, '\x7f');
}

// A BDF bitmap font at the game's 48 pixels: 'A' a 1-bit column one pixel
// wide (its rows are as many bytes apart as it is wide), 'B' one row 60000
// pixels wide.
std::string bdfWithWideGlyph()
{
    std::string bdf = "STARTFONT 2.1\nFONT -velorun-test-medium-r-normal--48-480-75-75-c-80-iso10646-1\n"
                      "SIZE 48 75 75\nFONTBOUNDINGBOX 60000 48 0 0\nSTARTPROPERTIES 3\nPIXEL_SIZE 48\n"
                      "FONT_ASCENT 48\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 2\n"
                      "STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 24 0\nBBX 1 8 0 0\nBITMAP\n";
    for (int row = 0; row < 8; ++row)
        bdf += "80\n";
    bdf += "ENDCHAR\nSTARTCHAR B\nENCODING 66\nSWIDTH 500 0\nDWIDTH 24 0\nBBX 60000 1 0 0\nBITMAP\n";
    bdf += std::string(15000, 'F') + "\nENDCHAR\nENDFONT\n";
    return bdf;
}

enum class Loader { Texture, ModelTexture, Font, Model };

struct DeclaredSizeCase {
    const char* name;
    Loader loader;
    std::function<void(GlTest&, const std::string& path)> write;
    bool onStdout;
    std::string line; // printed once the file is refused; PATH stands for its path
};

class DeclaredSizeTest : public SceneGlTest {
protected:
    // Builds what the loader reads from `file` and returns what it printed.
    std::string load(Loader loader, const std::string& file, bool onStdout)
    {
        onStdout ? testing::internal::CaptureStdout() : testing::internal::CaptureStderr();
        switch (loader) {
        case Loader::Texture:
            Texture2D(file.c_str());
            break;
        case Loader::ModelTexture:
            scene::Model(writeObjModel("plate",
                                       "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl A\nf 1/1 2/1 3/1\n",
                                       "newmtl A\nmap_Kd " + file.substr(file.rfind('/') + 1) + "\n")
                             .c_str());
            break;
        case Loader::Font:
            setupText(textRenderer, file.c_str());
            break;
        case Loader::Model:
            EXPECT_TRUE(scene::Model(file.c_str()).meshes.empty());
            break;
        }
        return onStdout ? testing::internal::GetCapturedStdout() : testing::internal::GetCapturedStderr();
    }
};

TEST_F(DeclaredSizeTest, ReportedAndSkippedWithoutAllocatingWhatTheHeaderDeclares)
{
    const auto png = [](unsigned width) {
        return [width](GlTest&, const std::string& path) {
            writePng(path, static_cast<int>(width), 1, std::vector<Rgba>(width, Rgba{9, 9, 9, 255}), false);
        };
    };
    const auto text = [](std::string content) {
        return [content](GlTest&, const std::string& path) { writeTextFile(path, content); };
    };
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    const std::string gif = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00"
                            "\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;"s;
    const DeclaredSizeCase cases[] = {
        {"PNG one wider than the cap", Loader::Texture, png(4097), false, "Failed to load image: PATH"},
        {"PNG one wider than the cap", Loader::ModelTexture, png(4097), false,
         "Failed to load texture image: PATH"},
        {"GIF", Loader::Texture, text(gif), false, "Failed to load image: PATH"},
        {"TGA declaring 12000 x 12000", Loader::Texture, text(tgaDeclaring(12000, 12000)), false,
         "Failed to load image: PATH"},
        {"TGA declaring 64 x 64, cut short", Loader::ModelTexture, text(tgaDeclaring(64, 64)), false,
         "Failed to load texture image: PATH"},
        {"bitmap font, glyph 60000 wide", Loader::Font, text(bdfWithWideGlyph()), true,
         "ERROR::FREETYTPE: Failed to load Glyph"},
        {"OBJ face past the vertex list", Loader::Model, text(triangle + "f 1 2 99\n"), false,
         "ERROR::ASSIMP::OBJ: vertex index out of range"},
        {"OBJ face before the vertex list", Loader::Model, text(triangle + "f 1 2 -9\n"), false,
         "ERROR::ASSIMP::OBJ: vertex index out of range"},
    };
    int number = 0;
    for (const DeclaredSizeCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", loader " + std::to_string(static_cast<int>(c.loader)));
        const std::string path =
            tempPath("declared" + std::to_string(++number) + (c.loader == Loader::Model ? ".obj" : ".bin"));
        c.write(*this, path);
        const long before = peakResidentMiB();
        const std::string printed = load(c.loader, path, c.onStdout);
        std::string line = c.line;
        if (const size_t at = line.find("PATH"); at != std::string::npos)
            line.replace(at, 4, path);
        EXPECT_NE(printed.find(line + "\n"), std::string::npos) << "printed:\n" << printed;
        if (c.loader == Loader::Font) { // checked here: a failure printed while stdout is captured is lost
            EXPECT_TRUE(textRenderer.characters.empty()) << "a glyph the upload cannot read was kept";
        }
        EXPECT_LT(peakResidentMiB() - before, 64) << "the loader allocated what the header declares";
        releaseResources();
    }
}

} // namespace
} // namespace velorun::test
