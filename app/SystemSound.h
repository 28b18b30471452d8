#pragma once
// The system's sound output as the viewer follows it: the system mute, read
// once when the path opens and followed from then on, and the output volume
// read once. The viewer never changes either. UI thread only; the path's
// mute changes arrive on the UI thread.
#include <QObject>
#include <memory>
#include <optional>

class VolumePath;

class SystemSound : public QObject {
    Q_OBJECT
public:
    explicit SystemSound(QObject* parent = nullptr);
    ~SystemSound() override;

    // Takes the path (null: there is none) and reads the mute and the volume,
    // waiting no longer than the path's own bound. A path that cannot be
    // opened in time may still report the mute later.
    void Open(std::unique_ptr<VolumePath> path);
    // The system's mute as last known (false when it could not be read).
    bool muted() const { return m_muted; }
    // The output volume scaled to 0..100 as read at Open; 0 when unknown.
    // The system output's level, when it could be read.
    std::optional<int> outputVolume() const { return m_outputVolume; }

signals:
    void mutedChanged(bool muted);

private:
    void close();

    std::unique_ptr<VolumePath> m_path;
    bool m_muted = false;
    std::optional<int> m_outputVolume;
};
