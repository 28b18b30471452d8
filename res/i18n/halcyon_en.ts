<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CVxMainFrame</name>
    <message>
        <source>재생</source>
        <comment>speed label, first line</comment>
        <translation>Play</translation>
    </message>
    <message>
        <source>속도</source>
        <comment>speed label, second line</comment>
        <translation>rate</translation>
    </message>
    <message>
        <source>날 짜</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>파일이름</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>유형</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>전방영상</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>후방영상</source>
        <translation>Rear</translation>
    </message>
    <message>
        <source>파일열기</source>
        <translation>Open files</translation>
    </message>
    <message>
        <source>이전 파일</source>
        <translation>Previous file</translation>
    </message>
    <message>
        <source>뒤로</source>
        <translation>Step back</translation>
    </message>
    <message>
        <source>재생</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>일시정지</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>앞으로</source>
        <translation>Step forward</translation>
    </message>
    <message>
        <source>다음 파일</source>
        <translation>Next file</translation>
    </message>
    <message>
        <source>정지</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>다른 이름으로 저장..</source>
        <translation>Save as..</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>지 도</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>전후방전환</source>
        <translation>Front/Rear</translation>
    </message>
    <message>
        <source>좌우전환</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>상하전환</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>최소화</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>전체화면</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>이전크기로</source>
        <translation>Restore size</translation>
    </message>
    <message>
        <source>종료</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>  전후방전환</source>
        <translation>  Front/Rear</translation>
    </message>
    <message>
        <source>전체</source>
        <translation>All</translation>
    </message>
    <message>
        <source>상시</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>충격</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>수동</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>모션</source>
        <translation>Motion</translation>
    </message>
</context>
<context>
    <name>CopyProgressDialog</name>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>IncidentExportDialogs</name>
    <message>
        <source>나란히 (전방 왼쪽, 후방 오른쪽)</source>
        <translation>Side by side (front left, rear right)</translation>
    </message>
    <message>
        <source>화면 속 화면 (후방을 오른쪽 위 구석에)</source>
        <translation>Picture in picture (rear in the top-right corner)</translation>
    </message>
    <message>
        <source>전방만</source>
        <translation>Front only</translation>
    </message>
    <message>
        <source> 초</source>
        <translation> s</translation>
    </message>
    <message>
        <source>부터</source>
        <translation>from</translation>
    </message>
    <message>
        <source>까지</source>
        <translation>to</translation>
    </message>
    <message>
        <source>구간</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>화면 배치</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>찾아보기…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>저장할 파일</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>GPS 기록은 같은 이름의 .gpx 파일로 옆에 저장합니다.</source>
        <translation>The GPS track is saved beside it as a .gpx file of the same name.</translation>
    </message>
    <message>
        <source>내보내기</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>영상을 내보내는 중입니다…</source>
        <translation>Exporting the clip…</translation>
    </message>
    <message>
        <source>취소하는 중입니다…</source>
        <translation>Cancelling…</translation>
    </message>
</context>
<context>
    <name>IncidentExportFlow</name>
    <message>
        <source>사고 영상 내보내기</source>
        <translation>Export incident clip</translation>
    </message>
    <message>
        <source>끝 시각은 시작 시각보다 뒤여야 합니다.</source>
        <translation>The end must come after the start.</translation>
    </message>
    <message>
        <source>구간이 영상의 길이를 넘습니다.</source>
        <translation>The range goes past the end of the recording.</translation>
    </message>
    <message>
        <source>저장할 파일 이름을 정하십시오.</source>
        <translation>Choose a file name to save to.</translation>
    </message>
    <message>
        <source>원본 영상 파일에는 저장할 수 없습니다.</source>
        <translation>The clip cannot be saved over the recording itself.</translation>
    </message>
    <message>
        <source>같은 이름의 폴더가 있습니다: %1</source>
        <translation>A folder of that name exists: %1</translation>
    </message>
    <message>
        <source>저장할 폴더가 없습니다: %1</source>
        <translation>The folder does not exist: %1</translation>
    </message>
    <message>
        <source>재생 중인 영상이 없습니다.</source>
        <translation>No recording is playing.</translation>
    </message>
    <message>
        <source>이미 있는 파일을 바꿉니다:
%1
바꾸시겠습니까?</source>
        <translation>These files exist and will be replaced:
%1
Replace them?</translation>
    </message>
    <message>
        <source>이 컴퓨터에서는 영상을 내보낼 수 없습니다 (필요한 GStreamer 구성 요소가 없습니다).</source>
        <translation>Clips cannot be exported on this computer (GStreamer components are missing).</translation>
    </message>
    <message>
        <source>내보냈습니다.
%1
%2</source>
        <translation>Exported.
%1
%2</translation>
    </message>
    <message>
        <source>내보내지 못했습니다. 파일은 남기지 않았습니다.
%1</source>
        <translation>The clip could not be exported; no file was left behind.
%1</translation>
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
