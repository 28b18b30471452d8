#include "app/SystemSound.h"

#include "engine/VolumePath.h"

SystemSound::SystemSound(QObject* parent) : QObject(parent) {}

SystemSound::~SystemSound()
{
    close();
}

void SystemSound::close()
{
    if (m_path)
        m_path->CloseVolumePath();
}

void SystemSound::Open(std::unique_ptr<VolumePath> path)
{
    close();
    m_path = std::move(path);
    m_muted = false;
    m_outputVolume.reset();
    if (!m_path)
        return;
    connect(m_path.get(), &VolumePath::systemMuteChanged, this, [this](bool muted) {
        m_muted = muted;
        emit mutedChanged(muted);
    });
    bool muted = false;
    if (m_path->OpenVolumePath() && m_path->FindMuteControl() && m_path->ReadSystemMute(muted))
        m_muted = muted;
    m_outputVolume = m_path->ReadSystemVolume();
}
