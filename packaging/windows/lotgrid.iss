; The Windows installer of Lotgrid (Inno Setup 6). It packs the folder that
; `cmake --install` and windeployqt filled:
;   iscc /DVersion=1.0 /DDist=C:\path\to\dist /OC:\path\to\output packaging\windows\lotgrid.iss
#ifndef Version
  #define Version "0"
#endif
#ifndef Dist
  #define Dist "..\..\dist"
#endif

[Setup]
AppId={{6F1D2B8E-3C44-4E7A-9B0D-5A1C7E2F8B31}
AppName=Lotgrid
AppVersion={#Version}
AppVerName=Lotgrid {#Version}
AppPublisher=Lotgrid
DefaultDirName={autopf}\Lotgrid
DefaultGroupName=Lotgrid
DisableProgramGroupPage=yes
OutputBaseFilename=lotgrid-{#Version}-windows-x64-setup
ArchitecturesAllowed=x64compatible
ArchitecturesInstallIn64BitMode=x64compatible
PrivilegesRequiredOverridesAllowed=dialog
UninstallDisplayIcon={app}\bin\lotgrid.exe
Compression=lzma2
SolidCompression=yes
WizardStyle=modern

[Tasks]
Name: "desktopicon"; Description: "{cm:CreateDesktopIcon}"; GroupDescription: "{cm:AdditionalIcons}"; Flags: unchecked

[Files]
Source: "{#Dist}\*"; DestDir: "{app}"; Flags: ignoreversion recursesubdirs createallsubdirs

[Icons]
Name: "{group}\Lotgrid"; Filename: "{app}\bin\lotgrid.exe"
Name: "{autodesktop}\Lotgrid"; Filename: "{app}\bin\lotgrid.exe"; Tasks: desktopicon

[Run]
Filename: "{app}\bin\lotgrid.exe"; Description: "{cm:LaunchProgram,Lotgrid}"; Flags: nowait postinstall skipifsilent
