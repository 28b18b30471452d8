<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CopyProgressDialog</name>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MediaComponentReport</name>
    <message>
        <source>Source Filter가 등록되지 않았습니다.</source>
        <translation>The source filter is not installed.</translation>
    </message>
    <message>
        <source>Video Filter(ffdshow)가 등록되지 않았습니다.</source>
        <translation>The video filter (ffdshow) is not installed.</translation>
    </message>
</context>
<context>
    <name>PlaybackController</name>
    <message>
        <source>녹화 파일을 끝까지 재생하지 못하고 멈췄습니다:</source>
        <translation>Playback stopped: this recording could not be played to its end:</translation>
    </message>
</context>
<context>
    <name>RecordingFileOps</name>
    <message>
        <source>영상 파일 삭제!</source>
        <translation>Delete recordings!</translation>
    </message>
    <message>
        <source>선택하신 파일을 삭제하시겠습니까?</source>
        <translation>Do you want to delete the selected files?</translation>
    </message>
    <message>
        <source>다음 파일을 삭제하지 못했습니다:</source>
        <translation>These files could not be deleted:</translation>
    </message>
    <message>
        <source>영상 파일 복사!</source>
        <translation>Copy recordings!</translation>
    </message>
    <message>
        <source>다음 파일을 복사하지 못했습니다:</source>
        <translation>These files could not be copied:</translation>
    </message>
    <message>
        <source> (원본과 같은 파일)</source>
        <translation> (the same file as the original)</translation>
    </message>
</context>
<context>
    <name>SnapshotExport</name>
    <message>
        <source>스냅샷 저장!</source>
        <translation>Save snapshot!</translation>
    </message>
    <message>
        <source>다음 파일을 저장하지 못했습니다:</source>
        <translation>These files could not be saved:</translation>
    </message>
</context>
</TS>
