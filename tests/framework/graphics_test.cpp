// tests/framework/graphics_test.cpp: the graphics module over a real renderer and real PNG files: frame
// layouts and their runtime error, image flags, the matrix stack, when the matrix reaches the device,
// transformed images on screen, the default font and data-folder paths.
#include "framework/graphics.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <climits>
#include <cstdlib>
#include <new>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "framework/data.h"
#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/gl_window.h"
#include "tests/common/pixels.h"
#include "tests/common/scratch.h"

// Every C++ heap allocation of this test program is counted, to show that drawing makes none. The
// replacement pair is malloc/free underneath, which g++ cannot see when it inlines a delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
long g_heapAllocations = 0;

void* operator new(std::size_t size) {
    ++g_heapAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++g_heapAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace zk_test;

const int kSize = 64;

std::string temp_dir() {
    static ScratchDir dir("zk_graphics");
    return dir.path();
}

// An opaque RGBA PNG of one colour (0xRRGGBB), or of four quarters when `quarters` is given
// (top-left, top-right, bottom-left, bottom-right).
std::string write_png(const std::string& name, int w, int h, std::vector<unsigned int> quarters) {
    if (quarters.size() == 1) quarters.assign(4, quarters[0]);
    std::vector<unsigned char> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned int c = quarters[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
            px.insert(px.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                 static_cast<unsigned char>(c), 255});
        }
    std::string path = temp_dir() + "/" + name;
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, 4, px.data(), w * 4), 0);
    return path;
}

String S(const std::string& s) { return String(s.c_str()); }

// The renderer with a tap on the matrix: every SetMatrix that reaches it is counted.
struct CountingDevice : gxtkGraphics {
    int matrices = 0;
    int SetMatrix(float a, float b, float c, float d, float e, float f) override {
        ++matrices;
        return gxtkGraphics::SetMatrix(a, b, c, d, e, f);
    }
};

ZKGlfwGame* host() {
    static ZKGlfwGame* game = new ZKGlfwGame();
    return game;
}

// A window, the module started afresh, a device and an open frame, as the game delegate leaves them.
class Graphics : public ::testing::Test {
protected:
    void SetUp() override {
        host();
        zk_graphics_init();
        device = new CountingDevice();
        zk_graphics_SetGraphicsDevice(device);
        device->BeginRender();
        zk_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }
    void EndFrame() {
        zk_graphics_EndRender();
        device->EndRender();
    }

    TestGLWindow window{kSize, kSize};
    CountingDevice* device = nullptr;
};

std::vector<int> frame_xs(c_Image* image) {
    std::vector<int> xs;
    for (int i = 0; i < image->m_frames.Length(); ++i) xs.push_back(image->m_frames[i]->m_x);
    return xs;
}

TEST(DataPath, BareNamesGoToTheDataFolder) {
    EXPECT_EQ(zk_data_FixDataPath(String("./a.png")), String("./a.png"));
    EXPECT_EQ(zk_data_FixDataPath(String("/a.png")), String("/a.png"));
    EXPECT_EQ(zk_data_FixDataPath(String("zanth://data/a.png")), String("zanth://data/a.png"));
    EXPECT_EQ(zk_data_FixDataPath(String("gfx/a.png")), String("zanth://data/gfx/a.png"));
    EXPECT_EQ(zk_data_FixDataPath(String("a/b:/c")), String("zanth://data/a/b:/c"));   // first slash first
    EXPECT_EQ(zk_data_FixDataPath(String("a.png")), String("zanth://data/a.png"));
    EXPECT_EQ(zk_data_FixDataPath(String()), String("zanth://data/"));
}

TEST_F(Graphics, FramesAreCutRowByRow) {
    std::string strip = write_png("strip.png", 100, 20, {0xff0000});
    c_Image* image = zk_graphics_LoadImage2(S(strip), 20, 20, 5, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(frame_xs(image), (std::vector<int>{0, 20, 40, 60, 80}));
    EXPECT_EQ(image->m_width, 20);
    EXPECT_EQ(image->m_height, 20);
    EXPECT_EQ(image->m_source, nullptr);

    c_Image* sheet = zk_graphics_LoadImage2(S(write_png("sheet.png", 40, 40, {0xff0000})), 20, 20, 4, 0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(frame_xs(sheet), (std::vector<int>{0, 20, 0, 20}));
    EXPECT_EQ(sheet->m_frames[2]->m_y, 20);

    c_Image* across = zk_graphics_LoadImage(S(write_png("across.png", 90, 30, {0xff0000})), 3, 0);
    ASSERT_NE(across, nullptr);
    EXPECT_EQ(frame_xs(across), (std::vector<int>{0, 30, 60}));
    EXPECT_EQ(across->m_width, 30);
    EXPECT_EQ(across->m_height, 30);

    // A cut-out keeps its source and offsets every frame by the source rectangle.
    c_Image* part =
        (new c_Image())->m_new()->p_Init2(image->m_surface, 0, 0, 10, 10, 2, 0, image, 40, 5, 20, 10);
    EXPECT_EQ(frame_xs(part), (std::vector<int>{40, 50}));
    EXPECT_EQ(part->m_frames[1]->m_y, 5);
    EXPECT_EQ(part->m_source, image);
}

// zkError reports on standard output and then waits for a debugger on standard input; the child gets an
// empty input (no debugger: exit -1) and its output on standard error, where the death test reads.
void expect_frame_error(c_Image* image, int frameW, int frameH, int frames) {
    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
            dup2(2, 1);
            image->p_Init2(image->m_surface, 0, 0, frameW, frameH, frames, 0, nullptr, 0, 0, 100, 20);
        },
        ::testing::ExitedWithCode(255), "Zanth Runtime Error : Image frame outside surface");
}

TEST_F(Graphics, FramesOutsideTheSurfaceRaiseARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    c_Image* image = zk_graphics_LoadImage2(S(write_png("strip6.png", 100, 20, {0xff0000})), 20, 20, 5, 0);
    ASSERT_NE(image, nullptr);
    expect_frame_error(image, 20, 20, 6);    // one frame too many
    expect_frame_error(image, 101, 20, 1);   // wider than the surface
    expect_frame_error(image, 20, 21, 1);    // taller than the surface
}

TEST_F(Graphics, FlagsSetHandleAndWholeSurface) {
    std::string square = write_png("square.png", 64, 64, {0xff0000});
    c_Image* plain = zk_graphics_LoadImage(S(square), 1, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_flags, c_Image::WholeSurface);

    c_Image* padded = zk_graphics_LoadImage(S(square), 1, c_Image::PadX);
    EXPECT_EQ(padded->m_flags, c_Image::PadX);
    EXPECT_EQ(padded->m_frames[0]->m_x, 1);
    EXPECT_EQ(padded->m_width, 62);
    EXPECT_EQ(padded->m_height, 64);

    c_Image* both =
        zk_graphics_LoadImage(S(square), 1, c_Image::PadX | c_Image::PadY | c_Image::CentreHandle);
    EXPECT_EQ(both->m_frames[0]->m_y, 1);
    EXPECT_EQ(both->m_height, 62);
    EXPECT_FLOAT_EQ(both->m_handleX, 31);   // centre of the frame after the border is taken off
    EXPECT_FLOAT_EQ(both->m_handleY, 31);

    c_Image* centred = zk_graphics_LoadImage2(S(write_png("wide.png", 32, 16, {0xff0000})), 32, 16, 1,
                                              c_Image::CentreHandle);
    EXPECT_FLOAT_EQ(centred->m_handleX, 16);
    EXPECT_FLOAT_EQ(centred->m_handleY, 8);
    EXPECT_EQ(centred->m_flags & c_Image::CentreHandle, 0);
    EXPECT_TRUE(centred->m_flags & c_Image::WholeSurface);

    c_Image* framed = zk_graphics_LoadImage(S(square), 2, 0);   // two frames: never a whole surface
    EXPECT_EQ(framed->m_flags, 0);
    framed->p_SetHandle(3, 4);
    EXPECT_FLOAT_EQ(framed->m_handleX, 3);
}

TEST_F(Graphics, MissingImageIsNullAndNullDrawsNothing) {
    EXPECT_EQ(zk_graphics_LoadImage(S(temp_dir() + "/missing.png"), 1, 0), nullptr);
    EXPECT_EQ(zk_graphics_LoadImage2(S(temp_dir() + "/missing.png"), 8, 8, 1, 0), nullptr);
    zk_graphics_DrawImage(nullptr, 0, 0, 0);
    zk_graphics_DrawImage2(nullptr, 0, 0, 45, 1, 1, 0);
    c_Image* framed = zk_graphics_LoadImage(S(write_png("two.png", 16, 8, {0xff0000})), 2, 0);
    zk_graphics_DrawImage(framed, 0, 0, 2);    // no frame 2
    zk_graphics_DrawImage(framed, 0, 0, -1);
    EXPECT_EQ(device->primCount, 0);
    EndFrame();
    ExpectPixels({{4, 4, 0x000000}});
}

TEST_F(Graphics, MatrixStackDoublesAndKeepsWhatWasPushed) {
    c_GraphicsContext* c = zk_graphics_context;
    EXPECT_EQ(c->m_matrixStack.Length(), 192);
    for (int i = 0; i < 33; ++i) {
        zk_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        zk_graphics_PushMatrix();
    }
    EXPECT_EQ(c->m_matrixStack.Length(), 384);
    EXPECT_EQ(c->m_stackTop, 33 * 6);
    for (int i = 0; i < 33; ++i) EXPECT_FLOAT_EQ(c->m_matrixStack[i * 6 + 4], static_cast<float>(i));
    for (int i = 32; i >= 0; --i) {
        zk_graphics_PopMatrix();
        EXPECT_FLOAT_EQ(c->m_tx, static_cast<float>(i));
    }
    zk_graphics_PopMatrix();   // empty: the matrix stays
    EXPECT_FLOAT_EQ(c->m_tx, 0);
    EXPECT_EQ(c->m_stackTop, 0);
}

TEST_F(Graphics, TransformsComposeOnTheRight) {
    zk_graphics_Translate(10, 20);
    zk_graphics_Scale(2, 3);
    zk_graphics_Rotate(90);   // (1, 0) -> (0, -1) before scaling
    c_GraphicsContext* c = zk_graphics_context;
    EXPECT_NEAR(c->m_ix, 0, 1e-6);
    EXPECT_NEAR(c->m_iy, -3, 1e-6);
    EXPECT_NEAR(c->m_jx, 2, 1e-6);
    EXPECT_NEAR(c->m_jy, 0, 1e-6);
    EXPECT_FLOAT_EQ(c->m_tx, 10);
    EXPECT_FLOAT_EQ(c->m_ty, 20);
    EXPECT_EQ(c->m_transformed, 1);
    zk_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(c->m_transformed, 0);
}

TEST_F(Graphics, ArrayFormsTakeTheFirstSixFloats) {
    c_GraphicsContext* c = zk_graphics_context;
    const float m[] = {2, 0, 0, 3, 10, 20, 99};
    zk_graphics_SetMatrix2(Array<float>(m, 7));
    EXPECT_FLOAT_EQ(c->m_ix, 2);
    EXPECT_FLOAT_EQ(c->m_jy, 3);
    EXPECT_FLOAT_EQ(c->m_ty, 20);
    const float t[] = {1, 0, 0, 1, 5, 5};
    zk_graphics_Transform2(Array<float>(t, 6));   // (5, 5) scaled by the current (2, 3)
    EXPECT_FLOAT_EQ(c->m_tx, 20);
    EXPECT_FLOAT_EQ(c->m_ty, 35);
    zk_graphics_SetMatrix2(Array<float>(m, 5));   // too short: the matrix stays
    zk_graphics_Transform2(Array<float>());
    EXPECT_FLOAT_EQ(c->m_tx, 20);
    EXPECT_FLOAT_EQ(c->m_ix, 2);
}

TEST_F(Graphics, EachFrameStartsFromTheSameStateWhateverTheLastOneLeft) {
    zk_graphics_Translate(5, 5);
    zk_graphics_PushMatrix();
    zk_graphics_PushMatrix();
    zk_graphics_SetColor(255, 0, 0);
    zk_graphics_SetAlpha(0.5f);
    zk_graphics_SetBlend(1);
    zk_graphics_SetScissor(1, 2, 3, 4);
    zk_graphics_DrawRect(0, 0, 1, 1);
    EndFrame();

    device->BeginRender();
    zk_graphics_BeginRender();
    c_GraphicsContext* c = zk_graphics_context;
    EXPECT_EQ(c->m_stackTop, 0);
    EXPECT_EQ(c->m_transformed, 0);
    EXPECT_EQ(c->m_matrixDirty, 1);
    EXPECT_FLOAT_EQ(c->m_tx, 0);
    EXPECT_FLOAT_EQ(c->m_colorG, 255);
    EXPECT_FLOAT_EQ(c->m_alpha, 1);
    EXPECT_EQ(c->m_blend, 0);
    EXPECT_FLOAT_EQ(c->m_clipW, kSize);
    EXPECT_FLOAT_EQ(c->m_clipH, kSize);
    EXPECT_EQ(device->color, 0xffffffffu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    zk_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_FLOAT_EQ(device->vertices[0].x, 0);   // the identity reached the device
    EXPECT_FALSE(device->tformed);
}

TEST_F(Graphics, EllipseIsCentredOnItsPointWithItsTwoRadii) {
    zk_graphics_SetColor(0, 255, 0);
    zk_graphics_DrawEllipse(32, 32, 12, 6);   // x 20..44, y 26..38
    EndFrame();
    ExpectPixels({
        {32, 32, 0x00ff00}, {42, 32, 0x00ff00}, {21, 32, 0x00ff00}, {32, 27, 0x00ff00}, {32, 36, 0x00ff00},
        {46, 32, 0x000000}, {18, 32, 0x000000}, {32, 24, 0x000000}, {32, 40, 0x000000},
    });
}

TEST_F(Graphics, FrameStartsWhiteOpaqueUnclippedAndMatrixGoesOncePerChange) {
    EXPECT_EQ(device->color, 0xffffffffu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(device->matrices, 0);   // the identity waits for the first drawing call

    zk_graphics_Translate(5, 5);
    zk_graphics_DrawRect(0, 0, 4, 4);
    zk_graphics_DrawRect(10, 0, 4, 4);
    EXPECT_EQ(device->matrices, 1);
    zk_graphics_SetColor(0, 255, 0);   // state other than the matrix goes at once
    EXPECT_EQ(device->color, 0xff00ff00u);
    zk_graphics_DrawLine(0, 0, 4, 4);
    zk_graphics_DrawEllipse(20, 20, 4, 4);
    EXPECT_EQ(device->matrices, 1);
    zk_graphics_Translate(1, 0);
    zk_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device->matrices, 2);

    zk_graphics_SetScissor(1.9f, 2.9f, 10.5f, 10.5f);   // sent truncated: rows 2..11 from the top
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_FLOAT_EQ(zk_graphics_context->m_clipX, 1.9f);
    EndFrame();
    EXPECT_EQ(zk_graphics_renderDevice, nullptr);
    ExpectPixels({{8, 6, 0xffffff}});   // the first rectangle, translated by (5, 5)
}

TEST_F(Graphics, DrawImage2TurnsCounterClockwiseAboutTheHandle) {
    // 20 x 10: top-left red, top-right green, bottom-left blue, bottom-right white; handle at the centre.
    std::string path = write_png("quarters.png", 20, 10, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff});
    c_Image* image = zk_graphics_LoadImage(S(path), 1, c_Image::CentreHandle);
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(image->m_flags & c_Image::WholeSurface);
    zk_graphics_DrawImage2(image, 32, 32, 90, 1, 1, 0);
    EXPECT_EQ(zk_graphics_context->m_stackTop, 0);   // pushed and popped
    EndFrame();
    // Turned, it covers x 27..37 and y 22..42 about (32, 32).
    ExpectPixels({
        {29, 24, 0x00ff00},   // image top-right: screen top-left
        {35, 24, 0xffffff}, {29, 40, 0xff0000}, {35, 40, 0x0000ff}, {39, 32, 0x000000}, {32, 20, 0x000000},
    });
}

TEST_F(Graphics, DrawImageScalesFramesAndPlacesTheHandle) {
    // Two 8 x 8 frames, red and green.
    std::string path = write_png("frames.png", 16, 8, {0xff0000, 0x00ff00, 0xff0000, 0x00ff00});
    c_Image* image = zk_graphics_LoadImage(S(path), 2, 0);
    ASSERT_NE(image, nullptr);
    image->p_SetHandle(4, 4);
    zk_graphics_DrawImage(image, 10, 10, 1);                 // green over 6..14
    zk_graphics_DrawImage2(image, 40, 40, 0, 2, 2, 0);       // red, doubled, over 32..48
    EndFrame();
    ExpectPixels({
        {7, 7, 0x00ff00}, {15, 15, 0x000000}, {33, 33, 0xff0000}, {47, 47, 0xff0000}, {49, 49, 0x000000},
    });
}

TEST_F(Graphics, CollectionKeepsWhatTheModuleReachesAndFreesTheRest) {
    std::string path = write_png("kept.png", 16, 8, {0xff0000, 0x00ff00, 0xff0000, 0x00ff00});
    gc_collect_all();          // a fresh cycle: roots queued ...
    gc_mark_queued(INT_MAX);   // ... and everything reachable marked, so every later store needs the barrier

    c_Image* kept = zk_graphics_LoadImage2(S(path), 8, 8, 2, 0);
    c_Image* cut = (new c_Image())->m_new()->p_Init2(kept->m_surface, 0, 0, 4, 4, 1, 0, kept, 8, 0, 8, 8);
    zk_graphics_SetFont(cut, 32);                                  // context -> cut -> kept -> surface
    for (int i = 0; i < 40; ++i) zk_graphics_PushMatrix();         // a grown stack array
    for (int i = 0; i < 40; ++i) zk_graphics_PopMatrix();
    c_Image* dropped = zk_graphics_LoadImage(S(write_png("dropped.png", 4, 4, {0xffffff})), 1, 0);
    zk_graphics_DrawImage(dropped, 0, 0, 0);                       // the device's batch holds its surface
    EXPECT_EQ(gc_verify(), 0);                                     // no marked object hides a white one

    EndFrame();
    gxtkSurface* droppedSurface = dropped->m_surface;
    GLuint droppedTexture = droppedSurface->texture;
    device->BeginRender();
    device->DrawRect(0, 0, 1, 1);   // the batch lets go of the dropped surface
    device->EndRender();
    CollectEverything();

    EXPECT_TRUE(gc_holds(cut));
    EXPECT_TRUE(gc_holds(kept));
    EXPECT_TRUE(gc_holds(kept->m_surface));
    EXPECT_TRUE(gc_holds(kept->m_frames[1]));
    EXPECT_EQ(zk_graphics_context->m_matrixStack.Length(), 384);
    EXPECT_FALSE(gc_holds(dropped));
    EXPECT_FALSE(gc_holds(droppedSurface));
    EXPECT_FALSE(glIsTexture(droppedTexture));   // freed with its surface

    device->BeginRender();
    zk_graphics_BeginRender();
    device->Cls(0, 0, 0);
    zk_graphics_DrawImage(kept, 0, 0, 1);
    EndFrame();
    ExpectPixels({{4, 4, 0x00ff00}});
}

// Within a batch nothing reaches OpenGL, whose driver allocates as it likes; our own drawing path must not.
TEST_F(Graphics, DrawingAllocatesNothing) {
    c_Image* image = zk_graphics_LoadImage2(S(write_png("alloc.png", 32, 8, {0xff0000})), 8, 8, 4, 0);
    ASSERT_NE(image, nullptr);
    zk_graphics_PushMatrix();   // the stack already holds what the loops need
    zk_graphics_PopMatrix();
    int collected = gc_new_bytes;
    long heap = g_heapAllocations;
    for (int i = 0; i < 120; ++i) {   // 240 quads of one surface: one batch
        zk_graphics_SetColor(static_cast<float>(i), 0, 0);
        float turn = static_cast<float>(i);
        zk_graphics_DrawImage2(image, static_cast<float>(i % 64), 10, turn, 1.5f, 1.5f, i % 4);
        zk_graphics_DrawImage(image, 5, 5, i % 4);
    }
    EXPECT_EQ(device->drawCalls, 0);
    EXPECT_EQ(g_heapAllocations, heap);
    zk_graphics_DrawRect(0, 0, 2, 2);   // draws the images
    heap = g_heapAllocations;
    for (int i = 0; i < 200; ++i) zk_graphics_DrawRect(static_cast<float>(i % 64), 0, 2, 2);
    EXPECT_EQ(g_heapAllocations, heap);
    zk_graphics_DrawEllipse(30, 30, 5, 5);
    heap = g_heapAllocations;
    for (int i = 0; i < 60; ++i) zk_graphics_DrawEllipse(30, 30, 5, 5);   // 12 vertices each
    EXPECT_EQ(g_heapAllocations, heap);
    EndFrame();
    EXPECT_EQ(gc_new_bytes, collected);   // nothing from the collector, batches drawn or not
}

TEST_F(Graphics, DefaultFontComesFromTheDataFolderWhenPresent) {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    std::string empty = temp_dir() + "/nofont";
    std::string full = temp_dir() + "/withfont";
    mkdir(empty.c_str(), 0755);
    mkdir(full.c_str(), 0755);
    mkdir((full + "/data").c_str(), 0755);
    std::string png = write_png("font.png", 96 * 8, 12, {0xffffff});
    std::rename(png.c_str(), (full + "/data/zeto_font.png").c_str());

    ASSERT_EQ(chdir(empty.c_str()), 0);
    zk_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(zk_graphics_context->m_font, nullptr);   // no file: no font, no error

    ASSERT_EQ(chdir(full.c_str()), 0);
    zk_graphics_SetFont(nullptr, 0);
    c_Image* font = zk_graphics_context->m_font;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, zk_graphics_context->m_defaultFont);
    EXPECT_EQ(zk_graphics_context->m_firstChar, 32);
    EXPECT_EQ(font->m_frames.Length(), 96);
    EXPECT_EQ(font->m_frames[1]->m_x, 9);   // 8 wide, one-pixel border skipped
    EXPECT_EQ(font->m_width, 6);
    zk_graphics_SetFont(font, 65);
    EXPECT_EQ(zk_graphics_context->m_firstChar, 65);
    ASSERT_EQ(chdir(here), 0);
}

}  // namespace
