// The window's side of the driver settings: the dialog's run, changes of the shared
// configuration, the language reload and the one looping sound.

#include <QSoundEffect>
#include <QUrl>

#include <mutex>
#include <vector>

#include "base/log.h"
#include "config/data_init.h"
#include "profile/profile_store.h"
#include "ui/main/drv_set_dlg.h"
#include "ui/main/quobel_dlg.h"
#include "ui/modals.h"
#include "ui/qt_translations.h"

namespace quobel {

void CQuobelDlg::ChangeConfig(const std::function<void(Config&)>& change) {
    // Every transport's description lock, always in kind order: an apply copies what it
    // reads of the description under its own, discovery's sensor switch under the mouse's.
    std::vector<std::unique_lock<std::mutex>> locks;
    for (const DevicePair& d : m_devs) {
        if (d.drv) locks.push_back(d.drv->LockDescription());
    }
    change(*m_env.config);
}

void CQuobelDlg::ReloadLanguage() {
    const Config& cfg = *m_env.config;
    m_env.texts->Load(TextFilePath(cfg));
    const GVar& g = cfg.gVar;
    if (m_env.qtTexts && g.nLangNum > 0 && g.nLangIndex >= 0 && g.nLangIndex < g.nLangNum) {
        const QString lang = QString::fromStdString(g.LangTable[static_cast<std::size_t>(g.nLangIndex)].szFolder);
        if (!m_env.qtTexts->Select(lang)) LogPrint("No Qt translation for %s", qPrintable(lang));
    }
    ReloadTexts();
}

void CQuobelDlg::PlayLoopingSound(const QString& path) {
    if (!m_pSound) m_pSound = new QSoundEffect(this);
    m_pSound->stop();
    m_pSound->setSource(QUrl::fromLocalFile(path));
    m_pSound->setLoopCount(QSoundEffect::Infinite);
    m_pSound->play();
    m_szPlaying = path;
}

void CQuobelDlg::StopSound() {
    if (m_pSound) m_pSound->stop();
    m_szPlaying.clear();
}

void CQuobelDlg::OnDriverSettings() {
    PausePreview(true);
    CDrvSetDlg dlg(*this, this);
    dlg.Init();
    const int r = m_env.modals->Exec(dlg);
    if (r == 1) {
        if (const ProfileData* p = m_profiles.Current()) {
            StopSound();
            const ProfileSound s = SoundOnSelect(*p, m_ctx.gvar->bPlaySound != 0);
            if (s.action == ProfileSound::kPlay) PlayLoopingSound(QString::fromStdString(s.path));
        }
    }
    PausePreview(false);
}

}  // namespace quobel
