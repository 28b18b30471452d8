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
