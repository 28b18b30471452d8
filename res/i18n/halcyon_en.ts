<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CPage1</name>
    <message>
        <source>녹화 화질</source>
        <translation>Picture quality</translation>
    </message>
    <message>
        <source>저화질</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>중화질</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>고화질</source>
        <translation>High</translation>
    </message>
    <message>
        <source>녹화 모드</source>
        <translation>Recording mode</translation>
    </message>
    <message>
        <source>주행녹화모드</source>
        <translation>Driving</translation>
    </message>
    <message>
        <source>상시녹화 + 충격녹화</source>
        <translation>Normal + Event</translation>
    </message>
    <message>
        <source>상시녹화</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>주차녹화모드</source>
        <translation>Parking</translation>
    </message>
    <message>
        <source>모션 + 충격녹화</source>
        <translation>Motion + Event</translation>
    </message>
    <message>
        <source>충격녹화</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>해제</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>감도 조절</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <source>운행감도조절</source>
        <translation>Impact</translation>
    </message>
    <message>
        <source>둔감</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>민감</source>
        <translation>High</translation>
    </message>
    <message>
        <source>모션감도조절</source>
        <translation>Motion</translation>
    </message>
    <message>
        <source>보통</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>환경설정</source>
        <translation>Recording</translation>
    </message>
</context>
<context>
    <name>CPage2</name>
    <message>
        <source>속도 단위</source>
        <translation>Speed unit</translation>
    </message>
    <message>
        <source>시간 설정</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>적용</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>지역 설정</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>일광 절약 시간 </source>
        <translation>Daylight saving time </translation>
    </message>
    <message>
        <source>시간이 저장되었습니다.
저장된 시간은 제품에 설정할 시간과 차이가 있을 수 있습니다.</source>
        <translation>The time has been saved.
The saved time may differ from the time the camera sets.</translation>
    </message>
    <message>
        <source>시간 및 단위</source>
        <translation>Time and units</translation>
    </message>
</context>
<context>
    <name>CPage3</name>
    <message>
        <source>이 컴퓨터에서는 SD 카드를 포맷할 수 없습니다 (디스크 관리 서비스 없음).</source>
        <translation>This computer cannot format the SD card (no disk management service).</translation>
    </message>
    <message>
        <source>메모리 관리</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>파일 포맷</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>메모리</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>적용</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>SD 카드의 모든 데이터를 지우고 포맷합니다. SD 카드를 포맷하시겠습니까?</source>
        <translation>Formatting erases all data on the SD card. Format the SD card?</translation>
    </message>
    <message>
        <source>포맷</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>메모리관리</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>메모리관리 모드를 변경 후 적용시
저장된 모든 데이터가 삭제되고 SD Card가 포맷됩니다.
적용하시겠습니까?</source>
        <translation>Applying a new memory mode erases
all saved data and formats the SD card.
Apply it?</translation>
    </message>
    <message>
        <source>메모리포맷</source>
        <translation>Format SD card</translation>
    </message>
    <message>
        <source>메모리포맷 실행시 저장된 모든 데이터가 삭제되고
 SD Card가 포맷됩니다. 적용하시겠습니까?</source>
        <translation>Formatting erases all saved data
and formats the SD card. Go ahead?</translation>
    </message>
    <message>
        <source>SD 카드가 없습니다.</source>
        <translation>There is no SD card.</translation>
    </message>
</context>
<context>
    <name>CPage4</name>
    <message>
        <source>메모리 정보</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>뷰어 정보</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>전체용량 : </source>
        <translation>Total : </translation>
    </message>
    <message>
        <source>사용 가능한 용량 : </source>
        <translation>Free : </translation>
    </message>
    <message>
        <source>상시녹화 : </source>
        <translation>Normal : </translation>
    </message>
    <message>
        <source>충격녹화 : </source>
        <translation>Event : </translation>
    </message>
    <message>
        <source>수동녹화 : </source>
        <translation>Manual : </translation>
    </message>
    <message>
        <source>모션녹화 : </source>
        <translation>Motion : </translation>
    </message>
    <message>
        <source>날짜 : 2015년 04월 21일</source>
        <translation>Date : 21 April 2015</translation>
    </message>
    <message>
        <source>버전 : 1.1.0</source>
        <translation>Version : 1.1.0</translation>
    </message>
    <message>
        <source>정보</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>CPlayerSetting</name>
    <message>
        <source>설정초기화</source>
        <translation>Reset settings</translation>
    </message>
    <message>
        <source>모든 설정 내용을 기본값으로 변경하시겠습니까?</source>
        <translation>Change all settings to their defaults?</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>기본값으로</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>확인</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
</context>
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
    <name>CardFormatSequence</name>
    <message>
        <source>메모리포맷</source>
        <translation>Format SD card</translation>
    </message>
    <message>
        <source>설정 파일을 백업하는 중...</source>
        <translation>Backing up the settings files...</translation>
    </message>
    <message>
        <source>이 드라이브는 포맷할 수 없습니다.
</source>
        <translation>This drive cannot be formatted.
</translation>
    </message>
    <message>
        <source>SD 카드의 설정 파일을 백업하지 못해 포맷하지 않았습니다.
</source>
        <translation>The settings files of the SD card could not be backed up, so it was not formatted.
</translation>
    </message>
    <message>
        <source>다음 SD 카드를 포맷합니다. 저장된 모든 데이터가 삭제됩니다.

장치 : %1
이름 : %2
크기 : %3

포맷을 시작하시겠습니까?</source>
        <translation>This SD card will be formatted. All saved data will be erased.

Device : %1
Name : %2
Size : %3

Start formatting?</translation>
    </message>
    <message>
        <source>(없음)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>SD 카드를 포맷하는 중...</source>
        <translation>Formatting the SD card...</translation>
    </message>
    <message>
        <source>SD 카드가 분리되었거나 바뀌어 포맷하지 않았습니다.</source>
        <translation>The SD card was removed or changed, so it was not formatted.</translation>
    </message>
    <message>
        <source>SD 카드를 포맷하지 못했습니다.
</source>
        <translation>The SD card could not be formatted.
</translation>
    </message>
    <message>
        <source>SD 카드에 쓰지 못했습니다.</source>
        <translation>Could not write to the SD card.</translation>
    </message>
    <message>
        <source>SD 카드는 포맷되었지만 설정 파일을 되돌려 쓰지 못했습니다.
%1
설정 파일의 사본이 다음 위치에 있습니다:
%2</source>
        <translation>The SD card was formatted, but its settings files could not be written back.
%1
A copy of the settings files is here:
%2</translation>
    </message>
</context>
<context>
    <name>CardUsage</name>
    <message>
        <source>전체 용량 :</source>
        <translation>Total :</translation>
    </message>
    <message>
        <source>사용 가능한 용량 :</source>
        <translation>Free :</translation>
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
    <name>DeviceConfig</name>
    <message>
        <source>설정 저장</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>SD 카드가 없어 설정을 저장하지 못했습니다.
카드를 다시 넣은 뒤 설정을 다시 변경하십시오.</source>
        <translation>The settings were not saved: there is no SD card.
Insert the card again, then change the settings again.</translation>
    </message>
    <message>
        <source>설정을 SD 카드에 저장하지 못했습니다.
카드에는 이전 설정이 그대로 남아 있습니다.</source>
        <translation>The settings could not be saved to the SD card.
The card keeps its previous settings.</translation>
    </message>
    <message>
        <source>시간 저장</source>
        <translation>Save time</translation>
    </message>
    <message>
        <source>SD 카드가 없어 시간을 저장하지 못했습니다.</source>
        <translation>The time was not saved: there is no SD card.</translation>
    </message>
    <message>
        <source>시간을 SD 카드에 저장하지 못했습니다.
카드에는 이전 시간 파일이 그대로 남아 있습니다.</source>
        <translation>The time could not be saved to the SD card.
The card keeps its previous time file.</translation>
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
    <message>
        <source>%1 부터 %2 까지</source>
        <extracomment>%1 and %2 are the start and the end of the range, in seconds</extracomment>
        <translation>from %1 to %2</translation>
    </message>
    <message>
        <source>원본 그대로 (다시 압축하지 않고 잘라내기, 모든 카메라와 소리)</source>
        <translation>As recorded (cut without re-encoding, every camera and the sound)</translation>
    </message>
    <message>
        <source>GPS 기록은 같은 이름의 .gpx 파일로, 해시 기록은 .json 파일로 옆에 저장합니다.</source>
        <translation>The GPS track is saved beside it as a .gpx file of the same name, the hash record as a .json file.</translation>
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
        <source>내보내지 못했습니다. 파일은 남기지 않았습니다.
%1</source>
        <translation>The clip could not be exported; no file was left behind.
%1</translation>
    </message>
    <message>
        <source>내보냈습니다.
%1
%2
%3</source>
        <translation>Exported.
%1
%2
%3</translation>
    </message>
</context>
<context>
    <name>MapOverlayText</name>
    <message>
        <source>위도:</source>
        <translation>Lat:</translation>
    </message>
    <message>
        <source>  경도:</source>
        <translation>  Lon:</translation>
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
    <name>PartitionShareTable</name>
    <message>
        <source>운행모드</source>
        <translation>Driving mode</translation>
    </message>
    <message>
        <source>일반모드</source>
        <translation>Standard mode</translation>
    </message>
    <message>
        <source>녹화모드</source>
        <translation>Recording mode</translation>
    </message>
    <message>
        <source>상시녹화</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>충격녹화</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>수동녹화</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>모션녹화</source>
        <translation>Motion</translation>
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
    <name>RecoveryOffer</name>
    <message>
        <source>이 녹화 파일은 전원이 끊겨 마무리되지 않았습니다.
같은 카메라의 다른 녹화를 참고하여 새 파일로 복구하시겠습니까?
(원본 파일은 그대로 둡니다.)</source>
        <translation>This recording was not finished because the power was cut.
Recover it into a new file, using another recording of the same camera as a guide?
(The original file is left as it is.)</translation>
    </message>
    <message>
        <source>녹화 파일을 복구하지 못했습니다.</source>
        <translation>The recording could not be recovered.</translation>
    </message>
    <message>
        <source>원본 파일에는 저장할 수 없습니다.</source>
        <translation>It cannot be saved over the original file.</translation>
    </message>
</context>
<context>
    <name>RecoveryProgressRunner</name>
    <message>
        <source>녹화 파일을 복구하고 있습니다...</source>
        <translation>Recovering the recording...</translation>
    </message>
    <message>
        <source>녹화 파일 복구</source>
        <translation>Recover recording</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>다른 복구가 진행 중입니다.</source>
        <translation>Another recovery is running.</translation>
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
<context>
    <name>UDisksCardFormatter</name>
    <message>
        <source>디스크 관리 서비스(UDisks2)에 연결할 수 없습니다. %1</source>
        <translation>Cannot reach the disk management service (UDisks2). %1</translation>
    </message>
    <message>
        <source>%1 (%2) 은(는) 이동식 드라이브가 아닙니다.</source>
        <translation>%1 (%2) is not a removable drive.</translation>
    </message>
    <message>
        <source>%1 (%2) 은(는) 파일 시스템이 아닙니다.</source>
        <translation>%1 (%2) is not a file system.</translation>
    </message>
    <message>
        <source>%1 은(는) SD 카드 드라이브의 루트가 아닙니다 (폴더이거나 분리된 카드).</source>
        <translation>%1 is not the root of an SD card drive (a folder, or a removed card).</translation>
    </message>
    <message>
        <source>포맷한 SD 카드가 %1초 안에 다시 연결되지 않았습니다. %2</source>
        <translation>The formatted SD card did not come back within %1 s. %2</translation>
    </message>
</context>
</TS>
