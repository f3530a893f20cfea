#include "styles/image/Bitmap.h"

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/Clock.h"
#include "styles/StyleScene.h"
#include "styles/image/Image.h"

namespace {

constexpr int kPathTraceLine = 62;

}  // namespace

Bitmap::Bitmap(StyleScene* scene) : Saver(scene) {
    m_pauseTimer.start(int64_t{sceneHost().settings()->imagePause()} * 1000);
}

void Bitmap::step() {
    if (!m_bShown) {
        const std::string path = m_pScene->NextImagePath();
        trace("%s line %d : sFilePathName = %s", "Bitmap", kPathTraceLine, path.c_str());
        // A path without an extension is no picture, and no picture was shown.
        StyleScene* scene = m_pScene;
        const ImageLimits limits{scene->width(), scene->height(), [scene] { return scene->isIdle(); }};
        if (std::unique_ptr<Image> image = CreateImage(path, limits)) {
            CDC* dc = m_pScene->dc();
            if (dc && image->IsValid() && image->Width() <= m_pScene->width() &&
                image->Height() <= m_pScene->height()) {
                m_pScene->PrepareImagePalette(*image);
                const int y = m_random.below(m_pScene->height() - image->Height());
                const int x = m_random.below(m_pScene->width() - image->Width());
                image->Paint(*dc, x, y);
            }
            image.reset();
            sceneHost().setTimeLastImage(platform::clock().calendarSeconds());
        }
        m_bShown = true;
    }
    // The timer fires once: its answer is kept, not asked again.
    bool expired = false;
    while (m_pScene->isIdle() && !(expired = m_pauseTimer.expired()))
        m_pScene->waitForInput(m_pauseTimer.remainingMs());
    m_bDone = expired;
}
