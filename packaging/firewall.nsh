; Inbound UDP rules in Windows' firewall for the two programs that wait for
; datagrams: the tool (device answers that arrive by broadcast, DHCP requests
; on port 67 while the recovery server runs) and vantrel-cli.exe. Without a
; rule the firewall drops those datagrams.
;
; netsh is taken from the system folder, never from the folder the installer
; was started from. A failing netsh (no firewall service; Wine has none)
; does not stop the install: install.log in the installation folder says
; what happened and what to allow by hand.

!include LogicLib.nsh

!define VANTREL_NETSH '"$SYSDIR\netsh.exe" advfirewall firewall'

!macro VantrelAllowInbound RULE FILE
  ; A rule left by an earlier install is replaced, not doubled.
  nsExec::ExecToStack '${VANTREL_NETSH} delete rule name="${RULE}" program="$INSTDIR\${FILE}"'
  Pop $0
  Pop $1
  nsExec::ExecToStack '${VANTREL_NETSH} add rule name="${RULE}" dir=in action=allow protocol=UDP program="$INSTDIR\${FILE}" enable=yes'
  Pop $0
  Pop $1
  ${If} $0 == 0
    StrCpy $2 'firewall: inbound UDP allowed for $INSTDIR\${FILE} (rule "${RULE}")'
  ${Else}
    StrCpy $2 'firewall: could not add rule "${RULE}" (netsh: $0); allow inbound UDP for $INSTDIR\${FILE} by hand'
  ${EndIf}
  DetailPrint $2
  FileOpen $3 "$INSTDIR\install.log" a
  FileSeek $3 0 END
  FileWrite $3 "$2$\r$\n"
  FileClose $3
!macroend

!macro VantrelRemoveInbound RULE FILE
  nsExec::ExecToStack '${VANTREL_NETSH} delete rule name="${RULE}" program="$INSTDIR\${FILE}"'
  Pop $0
  Pop $1
  DetailPrint 'firewall: removing rule "${RULE}": netsh $0'
!macroend

!macro VantrelFirewallInstall
  !insertmacro VantrelAllowInbound "Vantrel Config" "VantrelConfig.exe"
  !insertmacro VantrelAllowInbound "Vantrel Config CLI" "vantrel-cli.exe"
!macroend

!macro VantrelFirewallUninstall
  !insertmacro VantrelRemoveInbound "Vantrel Config" "VantrelConfig.exe"
  !insertmacro VantrelRemoveInbound "Vantrel Config CLI" "vantrel-cli.exe"
  Delete "$INSTDIR\install.log"
!macroend
