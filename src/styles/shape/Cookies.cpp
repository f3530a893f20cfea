#include "styles/shape/Cookies.h"

#include <algorithm>

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"

Cookies::Cookies(StyleScene* scene) : Saver(scene) {
    const Settings* settings = sceneHost().settings();
    const long long maxTime = settings ? settings->maxTime() : 0;
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

Cookies::~Cookies() {
    // The painter refers to the canvas: it goes first.
    m_pLimn.reset();
    m_pCanvas.reset();
}

void Cookies::step() {
    if (!m_pScene->isIdle()) return;
    CDC* dc = m_pScene->dc();
    if (!dc) {
        m_bDone = true;
        return;
    }
    const IdleTest idle = [this] { return m_pScene->isIdle() && !isDone(); };
    if (!m_pCanvas) {
        m_pCanvas = std::make_unique<CanvasDC>(dc, m_pScene->width(), m_pScene->height(), &m_random);
        const bool chance = m_random.uniform() < 0.9;
        m_bSolid = m_pCanvas->takesScreenColors() || chance;
        if (m_random.uniform() < 0.5)
            m_pLimn = std::make_unique<LimnShapes>(&m_random, m_pCanvas.get(), m_bSolid, true, idle);
        else
            m_pLimn = std::make_unique<LimnDaub>(&m_random, m_pCanvas.get(), m_bSolid, idle);
    }
    if (!m_pScene->isIdle()) return;
    m_pLimn->draw(*m_pCanvas, m_bSolid);
    m_bDone = true;
}
