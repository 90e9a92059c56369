// game/resources.cpp: the art scale, image and font slots, the step-by-step loader, sound effects over a
// ring of channels, the tunes, and the fullscreen switch.
//
// Loading never stops on a failure: a missing image or sound leaves its slot null (its m_imageInfo
// entries are written all the same) and the drawing layer and p_PlaySFX skip null slots.
#include "game/myapp.h"

namespace {

const int kEffectChannels = 24;   // effects rotate over channel slots 0..23; 24..32 stay free
const int kLoaderSteps = 26;      // 25 steps that load, one that ends the pass
const int kWindowWidth = 640, kWindowHeight = 480;

// Sound modes (saved setting kOptionSound): 0 off, 1 effects and music, 2 effects only, 3 music only.
bool effects_on(int mode) { return mode == 1 || mode == 2; }
bool music_on(int mode) { return mode == 1 || mode == 3; }

}  // namespace

// Larger screens get sharper art: "-hd" (twice the logical size) above 630 pixels, "-hd2" (four times)
// above 1230, on either axis.
int c_MyApp::p_ArtScale() {
    const int w = zk_app_DeviceWidth(), h = zk_app_DeviceHeight();
    m_hdScale = 1;
    m_drawScale = 1.0f;
    if (w > 630 || h > 630) m_hdScale = 2, m_drawScale = 0.5f;
    if (w > 1230 || h > 1230) m_hdScale = 4, m_drawScale = 0.25f;
    return 0;
}

String c_MyApp::p_ArtName(String name) {
    if (m_hdScale == 2) return name + String("-hd.png");
    if (m_hdScale == 4) return name + String("-hd2.png");
    return name + String(".png");
}

int c_MyApp::p_LoadImg(int slot, String name, int w, int h, int frames, int flags) {
    String file = p_ArtName(name);
    gc_assign(m_images[slot], static_cast<c_Image*>(nullptr));
    gc_assign(m_images[slot], zk_graphics_LoadImage2(file, w * m_hdScale, h * m_hdScale, frames, flags));
    m_imageInfo[slot * 3] = w * m_hdScale;
    m_imageInfo[slot * 3 + 1] = h * m_hdScale;
    m_imageInfo[slot * 3 + 2] = frames;
    return 0;
}

// A font is a sheet of 128 square 16 x 16 cells, cell n holding code n + 32; its slot's info holds the
// glyph advance and line height in logical pixels.
int c_MyApp::p_LoadFont(int slot, String name, int advance, int lineHeight) {
    gc_assign(m_images[slot], zk_graphics_LoadImage2(p_ArtName(name), 16 * m_hdScale, 16 * m_hdScale, 128, 1));
    m_imageInfo[slot * 3] = advance;
    m_imageInfo[slot * 3 + 1] = lineHeight;
    m_imageInfo[slot * 3 + 2] = 128;
    m_fontSlot = slot;
    return 0;
}

int c_MyApp::p_Reload() {
    m_clsRed = m_clsGreen = m_clsBlue = 0;
    m_clsAlpha = 1;
    p_ArtScale();
    p_LoadImg(kMakerLogoSlot, String("common/PlinLogo"), 256, 256, 1, 1);   // the logo and the font are there
    p_LoadFont(kFontSlot, String("fonts/editundo"), 7, 10);            // before the first loading frame
    m_loadStep = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    p_ArtScale();
    switch (m_loadStep) {
    case 1: p_LoadImg(kIconsSlot, String("common/icons"), 32, 32, 16, 1); p_LoadSFX(kJingleSound); break;
    case 2: p_LoadImg(kButtonsSlot, String("common/Buttons"), 64, 64, 16, 1); break;
    case 3: p_LoadImg(kDpadSlot, String("common/dpad"), 32, 32, 16, 1); break;
    case 4:
        p_LoadImg(kMakerLogoSlot, String("common/PlinLogo"), 256, 256, 1, 1);
        if (m_jinglePlayed == 0) {   // the jingle plays on the first pass only
            p_PlaySFX(kJingleSound, 1.0f, 1.0f, 0.0f);
            m_jinglePlayed = 1;
        }
        break;
    case 5: p_LoadImg(kCircleSlot, String("common/Testcard_Circle"), 256, 256, 1, 1); break;
    case 6: p_LoadFont(kFontSlot, String("fonts/editundo"), 7, 10); break;
    case 7: p_LoadSFX(kCoinSound); break;
    case 8: p_LoadSFX(kPowerUpSound); break;
    case 9: p_LoadSFX(kChimeSound); break;
    case 10: p_LoadSFX(kClickSound); break;
    case 11: p_LoadImg(kMenuSlot, String("menu"), 256, 256, 4, 1); break;
    case 12: p_LoadImg(kLogoSlot, String("logo"), 256, 128, 1, 1); break;
    case 13: p_LoadImg(kPartsSlot, String("parts"), 8, 8, 256, 1); break;
    case 14: p_LoadImg(kBadgesSlot, String("BadgesA"), 64, 64, 64, 1); break;
    case 15: p_LoadImg(kGfxSlot, String("gfx"), 64, 64, 16, 1); break;
    case 16: p_LoadImg(kGfxbSlot, String("gfxb"), 32, 32, 64, 1); break;
    case 17: p_LoadImg(kSpecksSlot, String("tolvane"), 8, 8, 256, 1); break;
    default:
        if (m_loadStep >= 18 && m_loadStep <= 25) p_LoadSFX(m_loadStep - 16);   // sounds 2..9
        else m_loadStep = 0;                                                    // step 26: done
        break;
    }
    if (m_loadStep > 0) ++m_loadStep;
    p_WaitStart(1);
    static_assert(kLoaderSteps == 26, "the loader's last step ends the pass");
    return 0;
}

// Sound n is "sfx/" + n with at least three digits + ".wav".
int c_MyApp::p_LoadSFX(int n) {
    if (n < 0 || n >= m_sounds.Length()) return 0;
    String digits = n < 10 ? String("00") : n < 100 ? String("0") : String();
    gc_assign(m_sounds[n], zk_audio_LoadSound(String("sfx/") + digits + String(n) + String(".wav")));
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!effects_on(m_options[kOptionSound])) return 0;                             // 1.
    m_channelCursor = (m_channelCursor + 1) % kEffectChannels;           // 2.
    const int channel = m_channels[m_channelCursor];                     // 3.
    zk_audio_StopChannel(channel);                                       // 4. the oldest effect stops
    if (n >= 0 && n < m_sounds.Length() && m_sounds[n]) zk_audio_PlaySound(m_sounds[n], channel, 0);   // 5.
    zk_audio_SetChannelRate(channel, rate);                              // 6.
    zk_audio_SetChannelVolume(channel, volume);
    zk_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlayTune(String name, int flags) {
    String file = String("sfx/") + name + String(".ogg");
    if (m_musicPlaying != 0) {
        zk_audio_StopMusic();
        m_musicPlaying = 0;
    }
    if (music_on(m_options[kOptionSound])) {
        zk_audio_PlayMusic(file, flags);
        m_musicPlaying = 1;
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    zk_audio_StopMusic();
    m_musicPlaying = 0;
    return 0;
}

// Switches between a fullscreen window at the desktop's size and a 640 x 480 window. Nothing is loaded
// here: the render pass sees the new size and restarts the loader. m_fullscreen changes only when the
// new window was made, so it always tells which kind of window is open; without a desktop mode nothing
// is tried, and a window the host could not open (it then has none) leaves the flag as it was.
// The game's one deliberate call past the framework: the framework has no call that opens a window with
// the desktop's own size and colour bits, so the switch asks the GLFW host (ZKGlfwGame::_glfwGame).
int c_MyApp::p_FullscreenFlip() {
    ZKGlfwGame* host = ZKGlfwGame::_glfwGame;
    if (!host) return 0;
    ZKGlfwVideoMode* desktop = host->GetGlfwDesktopMode();              // 1.
    if (!desktop) return 0;
    const int wanted = 1 - m_fullscreen;                                 // 2.
    if (wanted == 1)                                                     // 3.
        host->SetGlfwWindow(desktop->width, desktop->height, desktop->red, desktop->green, desktop->blue, 0, 0, 0, true);
    else                                                                 // 4.
        host->SetGlfwWindow(kWindowWidth, kWindowHeight, desktop->red, desktop->green, desktop->blue, 0, 0, 0, false);
    if (host->Window()) m_fullscreen = wanted;
    return 0;
}
