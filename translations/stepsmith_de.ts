<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>ActionTree</name>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>Press Enter to insert the selected action into the script, or drag it there.</source>
        <translation>Drücken Sie die Eingabetaste, um die ausgewählte Aktion in das Skript einzufügen, oder ziehen Sie sie dorthin.</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Filter actions</source>
        <translation>Aktionen filtern</translation>
    </message>
</context>
<context>
    <name>CElements</name>
    <message>
        <source>The catalogue &apos;%1&apos; is a device or a pipe, not a file, and was not read.</source>
        <translation>Der Katalog &apos;%1&apos; ist ein Gerät oder eine Pipe, keine Datei, und wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>An action without a name was left out.</source>
        <translation>Eine Aktion ohne Namen wurde ausgelassen.</translation>
    </message>
    <message>
        <source>The action &apos;%1&apos; was left out: its name cannot be written to a script.</source>
        <translation>Die Aktion &apos;%1&apos; wurde ausgelassen: Ihr Name kann nicht in ein Skript geschrieben werden.</translation>
    </message>
    <message>
        <source>An attribute without a name of the action &apos;%1&apos; was left out.</source>
        <translation>Ein Attribut ohne Namen der Aktion &apos;%1&apos; wurde ausgelassen.</translation>
    </message>
    <message>
        <source>The attribute &apos;%1&apos; of the action &apos;%2&apos; was left out: its name cannot be written to a script.</source>
        <translation>Das Attribut &apos;%1&apos; der Aktion &apos;%2&apos; wurde ausgelassen: Sein Name kann nicht in ein Skript geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>CHeaderFooter</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>CPrintCommand</name>
    <message>
        <source>Unable to connect to printer %1</source>
        <translation>Keine Verbindung zum Drucker %1 möglich</translation>
    </message>
    <message>
        <source>No printer is installed.<byte value="xd"/>
Choose Print... in the File menu to print to a PDF file.</source>
        <translation>Es ist kein Drucker installiert.<byte value="xd"/>
Wählen Sie &quot;Drucken...&quot; im Menü &quot;Datei&quot;, um in eine PDF-Datei zu drucken.</translation>
    </message>
    <message>
        <source>printer %1</source>
        <translation>Drucker %1</translation>
    </message>
    <message>
        <source>Unable to print on %1</source>
        <translation>Drucken auf %1 nicht möglich</translation>
    </message>
</context>
<context>
    <name>CPrinter</name>
    <message>
        <source>The settings file could not be written.</source>
        <translation>Die Einstellungsdatei konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The page settings could not be saved.</source>
        <translation>Die Seiteneinstellungen konnten nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Catalogue</name>
    <message>
        <source>Can&apos;t find the &apos;Actions.dat&apos; file.</source>
        <translation>Die Datei &apos;Actions.dat&apos; wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Application execution aborted</source>
        <translation>Die Programmausführung wurde abgebrochen</translation>
    </message>
    <message>
        <source>%1 more problems were found.</source>
        <translation>%1 weitere Probleme wurden gefunden.</translation>
    </message>
</context>
<context>
    <name>ColorNames</name>
    <message>
        <source>Scroll Bars</source>
        <translation>Bildlaufleisten</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Active Title Bar</source>
        <translation>Aktive Titelleiste</translation>
    </message>
    <message>
        <source>Inactive Title Bar</source>
        <translation>Inaktive Titelleiste</translation>
    </message>
    <message>
        <source>Menu Bar</source>
        <translation>Menüleiste</translation>
    </message>
    <message>
        <source>Window Background</source>
        <translation>Fensterhintergrund</translation>
    </message>
    <message>
        <source>Window Frame</source>
        <translation>Fensterrahmen</translation>
    </message>
    <message>
        <source>Menu Text</source>
        <translation>Menütext</translation>
    </message>
    <message>
        <source>Window Text</source>
        <translation>Fenstertext</translation>
    </message>
    <message>
        <source>Title Bar Text</source>
        <translation>Titelleistentext</translation>
    </message>
    <message>
        <source>Active Border</source>
        <translation>Aktiver Rahmen</translation>
    </message>
    <message>
        <source>Inactive Border</source>
        <translation>Inaktiver Rahmen</translation>
    </message>
    <message>
        <source>Application Workspace</source>
        <translation>Anwendungsarbeitsbereich</translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation>Markierung</translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation>Markierter Text</translation>
    </message>
    <message>
        <source>3D Face</source>
        <translation>3D-Oberfläche</translation>
    </message>
    <message>
        <source>3D Shadow</source>
        <translation>3D-Schatten</translation>
    </message>
    <message>
        <source>Gray Text</source>
        <translation>Grauer Text</translation>
    </message>
    <message>
        <source>Button Text</source>
        <translation>Schaltflächentext</translation>
    </message>
    <message>
        <source>Inactive Caption Text</source>
        <translation>Inaktiver Titeltext</translation>
    </message>
    <message>
        <source>3D Highlight</source>
        <translation>3D-Hervorhebung</translation>
    </message>
    <message>
        <source>3D Dark Shadow</source>
        <translation>3D-Dunkelschatten</translation>
    </message>
    <message>
        <source>3D Light</source>
        <translation>3D-Licht</translation>
    </message>
    <message>
        <source>Tooltip Text</source>
        <translation>QuickInfo-Text</translation>
    </message>
    <message>
        <source>Tooltip Background</source>
        <translation>QuickInfo-Hintergrund</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <source>The script has been changed.</source>
        <translation>Das Skript wurde geändert.</translation>
    </message>
    <message>
        <source>Do you want to save the changes?</source>
        <translation>Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>ZML Files|*.zml|All Files|*.*</source>
        <translation>ZML-Dateien|*.zml|Alle Dateien|*.*</translation>
    </message>
    <message>
        <source>%1 already exists.<byte value="xd"/>
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.<byte value="xd"/>
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>DocumentRecovery</name>
    <message>
        <source>The script could not be recovered. Its recovery file is kept:</source>
        <translation>Das Skript konnte nicht wiederhergestellt werden. Seine Wiederherstellungsdatei bleibt erhalten:</translation>
    </message>
</context>
<context>
    <name>EditCommands</name>
    <message>
        <source>Are you sure you want to delete the selected items?</source>
        <translation>Möchten Sie die ausgewählten Schritte wirklich löschen?</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Ablegen</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Edit Comment</source>
        <translation>Kommentar bearbeiten</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Add Comment</source>
        <translation>Kommentar hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Indent</source>
        <translation>Einzug vergrößern</translation>
    </message>
    <message>
        <source>Outdent</source>
        <translation>Einzug verkleinern</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Deaktivieren</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Aktivieren</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Find in the script</source>
        <translation>Im Skript suchen</translation>
    </message>
    <message>
        <source>Find Previous (Shift+F3)</source>
        <translation>Vorherige Fundstelle (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Find Next (F3)</source>
        <translation>Nächste Fundstelle (F3)</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Startseite</translation>
    </message>
    <message>
        <source>Tessaro AddIn Editor Help</source>
        <translation>Hilfe zum Tessaro AddIn Editor</translation>
    </message>
</context>
<context>
    <name>HostLauncher</name>
    <message>
        <source>You have to save the file before you can run it.</source>
        <translation>Sie müssen die Datei speichern, bevor Sie sie ausführen können.</translation>
    </message>
    <message>
        <source>Do you want to save it now?</source>
        <translation>Möchten Sie sie jetzt speichern?</translation>
    </message>
    <message>
        <source>Can&apos;t find Tessaro.</source>
        <translation>Tessaro wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Unable to execute Tessaro</source>
        <translation>Tessaro kann nicht ausgeführt werden</translation>
    </message>
</context>
<context>
    <name>ProblemsPanel</name>
    <message>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>No problems</source>
        <translation>Keine Probleme</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
</context>
<context>
    <name>RecoveryPrompt</name>
    <message>
        <source>[Untitled]</source>
        <translation>[Unbenannt]</translation>
    </message>
</context>
<context>
    <name>ScriptChecks</name>
    <message>
        <source>If</source>
        <translation>If</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>End If</source>
        <translation>End If</translation>
    </message>
    <message>
        <source>End Loop</source>
        <translation>End Loop</translation>
    </message>
</context>
<context>
    <name>ScriptChecks::Checker</name>
    <message>
        <source>%1 without %2</source>
        <translation>%1 ohne %2</translation>
    </message>
    <message>
        <source>Else outside an If</source>
        <translation>Else außerhalb eines If</translation>
    </message>
    <message>
        <source>%1 crosses the %2 of line %3</source>
        <translation>%1 überschneidet das %2 in Zeile %3</translation>
    </message>
    <message>
        <source>The action &quot;%1&quot; is not in the catalogue</source>
        <translation>Die Aktion „%1“ ist nicht im Katalog</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>&quot;%1&quot; requires a value</source>
        <translation>„%1“ erfordert einen Wert</translation>
    </message>
</context>
<context>
    <name>StepList</name>
    <message>
        <source>Line %1, level %2</source>
        <translation>Zeile %1, Ebene %2</translation>
    </message>
    <message>
        <source>%1, comment</source>
        <translation>%1, Kommentar</translation>
    </message>
    <message>
        <source>%1, disabled</source>
        <translation>%1, deaktiviert</translation>
    </message>
</context>
<context>
    <name>StepListView</name>
    <message>
        <source>Click on or drag &amp; drop the available actions to the left to begin building the file.</source>
        <translation>Klicken Sie auf eine der Aktionen links oder ziehen Sie sie hierher, um mit dem Skript zu beginnen.</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>1 row folded</source>
        <translation>1 Zeile eingeklappt</translation>
    </message>
    <message>
        <source>%1 rows folded</source>
        <translation>%1 Zeilen eingeklappt</translation>
    </message>
</context>
<context>
    <name>StepText</name>
    <message>
        <source>Use the following %1:<byte value="xd"/>
%2</source>
        <translation>Folgendes verwenden (%1):<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TitleBarCloseButton</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ZmlReader</name>
    <message>
        <source>Unsupported element found in the header &apos;%1&apos;<byte value="xd"/>
This element will be removed when you save the file</source>
        <translation>Nicht unterstütztes Element im Kopf gefunden: &apos;%1&apos;<byte value="xd"/>
Dieses Element wird beim Speichern der Datei entfernt</translation>
    </message>
    <message>
        <source>%1 more unsupported elements found in the header<byte value="xd"/>
These elements will be removed when you save the file</source>
        <translation>%1 weitere nicht unterstützte Elemente im Kopf gefunden<byte value="xd"/>
Diese Elemente werden beim Speichern der Datei entfernt</translation>
    </message>
    <message>
        <source>File version is missing. Inserting 1.0</source>
        <translation>Die Dateiversion fehlt. 1.0 wird eingesetzt</translation>
    </message>
    <message>
        <source>Can&apos;t find the file &apos;%1&apos;</source>
        <translation>Die Datei &apos;%1&apos; wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Can&apos;t open the file &apos;%1&apos;<byte value="xd"/>
Check that you have the correct permission to access it</source>
        <translation>Die Datei &apos;%1&apos; kann nicht geöffnet werden<byte value="xd"/>
Prüfen Sie, ob Sie die nötigen Zugriffsrechte haben</translation>
    </message>
    <message>
        <source>This file is corrupt or not a valid ZML file<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Diese Datei ist beschädigt oder keine gültige ZML-Datei<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>This file is not a valid ZML document<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Diese Datei ist kein gültiges ZML-Dokument<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>The file has an invalid or unsupported version number<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Die Datei hat eine ungültige oder nicht unterstützte Versionsnummer<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>File doesn&apos;t contain a valid header<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Die Datei enthält keinen gültigen Kopf<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>File doesn&apos;t contain a valid body<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Die Datei enthält keinen gültigen Rumpf<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>This is a device or a pipe, not a file, and can&apos;t be opened<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Dies ist ein Gerät oder eine Pipe, keine Datei, und kann nicht geöffnet werden<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>ZmlWriter</name>
    <message>
        <source>If without End If or Loop without End Loop. Save action aborted.</source>
        <translation>If ohne End If oder Loop ohne End Loop. Speichern abgebrochen.</translation>
    </message>
    <message>
        <source>End If without If or End Loop without Loop. Save action aborted.</source>
        <translation>End If ohne If oder End Loop ohne Loop. Speichern abgebrochen.</translation>
    </message>
    <message>
        <source>Step %1 is a disabled If, but its End If is still in the script. Enable the step or delete its End If. Save action aborted.</source>
        <translation>Schritt %1 ist ein deaktiviertes If, sein End If steht aber noch im Skript. Aktivieren Sie den Schritt oder löschen Sie sein End If. Speichern abgebrochen.</translation>
    </message>
    <message>
        <source>Step %1 is a disabled Loop, but its End Loop is still in the script. Enable the step or delete its End Loop. Save action aborted.</source>
        <translation>Schritt %1 ist ein deaktiviertes Loop, sein End Loop steht aber noch im Skript. Aktivieren Sie den Schritt oder löschen Sie sein End Loop. Speichern abgebrochen.</translation>
    </message>
    <message>
        <source>Can&apos;t save the file. Make sure the file and folder isn&apos;t write protected</source>
        <translation>Die Datei kann nicht gespeichert werden. Stellen Sie sicher, dass Datei und Ordner nicht schreibgeschützt sind</translation>
    </message>
    <message>
        <source>This is a device or a pipe, not a file: it was left as it is and the script was not saved<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Dies ist ein Gerät oder eine Pipe, keine Datei: Es wurde nicht verändert und das Skript wurde nicht gespeichert<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1.%2 rev %3</source>
        <translation>Version %1.%2 Rev. %3</translation>
    </message>
    <message>
        <source>Stepsmith builds add-in scripts for the Tessaro text editor. Action icons from the Tango Desktop Project (public domain).</source>
        <translation>Stepsmith erstellt Add-in-Skripte für den Texteditor Tessaro. Aktionssymbole aus dem Tango Desktop Project (gemeinfrei).</translation>
    </message>
</context>
<context>
    <name>frmActionProp</name>
    <message>
        <source>Action Name</source>
        <translation>Aktionsname</translation>
    </message>
    <message>
        <source>Action description</source>
        <translation>Aktionsbeschreibung</translation>
    </message>
    <message>
        <source>&amp;Enabled</source>
        <translation>&amp;Aktiviert</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Weiterlesen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>&quot;%1&quot; requires a value</source>
        <translation>&quot;%1&quot; benötigt einen Wert</translation>
    </message>
    <message>
        <source>Can&apos;t find the help file. Make sure it is placed in the application directory</source>
        <translation>Die Hilfedatei wurde nicht gefunden. Stellen Sie sicher, dass sie im Programmverzeichnis liegt</translation>
    </message>
    <message>
        <source>Opens the help of this action</source>
        <translation>Öffnet die Hilfe zu dieser Aktion</translation>
    </message>
</context>
<context>
    <name>frmColorPopUp</name>
    <message>
        <source>Custom...</source>
        <translation>Benutzerdefiniert...</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>frmComment</name>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Enter the text that you want to use as the comment in the text box below. A comment can consist of multiple lines of text.</source>
        <translation>Geben Sie im Textfeld unten den Text des Kommentars ein. Ein Kommentar kann aus mehreren Zeilen bestehen.</translation>
    </message>
    <message>
        <source>Add to &amp;bottom of the script</source>
        <translation>Am &amp;Ende des Skripts einfügen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Insert be&amp;fore the selection</source>
        <translation>&amp;Vor der Auswahl einfügen</translation>
    </message>
</context>
<context>
    <name>frmEdit</name>
    <message>
        <source>&lt;Multiple selection&gt;</source>
        <translation>&lt;Mehrfachauswahl&gt;</translation>
    </message>
    <message>
        <source>Line: %1 of %2</source>
        <translation>Zeile: %1 von %2</translation>
    </message>
    <message>
        <source>Lines: %1</source>
        <translation>Zeilen: %1</translation>
    </message>
    <message>
        <source>Steps: %1</source>
        <translation>Schritte: %1</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>Seite &amp;einrichten...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>Druck&amp;vorschau...</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Run script</source>
        <translation>Skript ausführen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>&amp;Go to step...</source>
        <translation>&amp;Gehe zu Schritt...</translation>
    </message>
    <message>
        <source>Move step &amp;up</source>
        <translation>Schritt nach &amp;oben</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move step &amp;down</source>
        <translation>Schritt nach &amp;unten</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Add a co&amp;mment...</source>
        <translation>Ko&amp;mmentar hinzufügen...</translation>
    </message>
    <message>
        <source>Add a comment</source>
        <translation>Kommentar hinzufügen</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Alles ma&amp;rkieren</translation>
    </message>
    <message>
        <source>Di&amp;sable steps</source>
        <translation>Schritte &amp;deaktivieren</translation>
    </message>
    <message>
        <source>&amp;Enable steps</source>
        <translation>Schritte akt&amp;ivieren</translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation>Eigenschaf&amp;ten</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>Option&amp;s</source>
        <translation>Optione&amp;n</translation>
    </message>
    <message>
        <source>Decrease Indent</source>
        <translation>Einzug verkleinern</translation>
    </message>
    <message>
        <source>Increase Indent</source>
        <translation>Einzug vergrößern</translation>
    </message>
    <message>
        <source>&amp;Toolbars</source>
        <translation>&amp;Symbolleisten</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>Status&amp;leiste</translation>
    </message>
    <message>
        <source>&amp;Actions</source>
        <translation>&amp;Aktionen</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;Small</source>
        <translation>K&amp;lein</translation>
    </message>
    <message>
        <source>&amp;Large</source>
        <translation>&amp;Groß</translation>
    </message>
    <message>
        <source>Icon Size</source>
        <translation>Symbolgröße</translation>
    </message>
    <message>
        <source>&amp;Word wrap</source>
        <translation>&amp;Zeilenumbruch</translation>
    </message>
    <message>
        <source>Word Wrap</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>&amp;Line numbers</source>
        <translation>Zeilen&amp;nummern</translation>
    </message>
    <message>
        <source>Line Numbers</source>
        <translation>Zeilennummern</translation>
    </message>
    <message>
        <source>Te&amp;xt</source>
        <translation>Te&amp;xt</translation>
    </message>
    <message>
        <source>So&amp;urce</source>
        <translation>&amp;Quelltext</translation>
    </message>
    <message>
        <source>View Source</source>
        <translation>Quelltext anzeigen</translation>
    </message>
    <message>
        <source>&amp;Help Contents</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Icon size</source>
        <translation>Sy&amp;mbolgröße</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>[%1] - Tessaro AddIn Editor</source>
        <translation>[%1] - Tessaro AddIn Editor</translation>
    </message>
    <message>
        <source>Can&apos;t find the help file. Make sure it is placed in the application directory</source>
        <translation>Die Hilfedatei wurde nicht gefunden. Stellen Sie sicher, dass sie im Programmverzeichnis liegt</translation>
    </message>
    <message>
        <source>Can&apos;t find the file:<byte value="xd"/>
&apos;%1&apos;</source>
        <translation>Die Datei wurde nicht gefunden:<byte value="xd"/>
&apos;%1&apos;</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Step information</source>
        <translation>Schrittinformation</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Ou&amp;tdent steps</source>
        <translation>Ein&amp;zug verkleinern</translation>
    </message>
    <message>
        <source>&amp;Indent steps</source>
        <translation>Einzug &amp;vergrößern</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Rü&amp;ckgängig</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Nächste &amp;Fundstelle</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>Vor&amp;herige Fundstelle</translation>
    </message>
    <message>
        <source>&amp;Fold All</source>
        <translation>Alle &amp;einklappen</translation>
    </message>
    <message>
        <source>U&amp;nfold All</source>
        <translation>Alle a&amp;usklappen</translation>
    </message>
    <message>
        <source>File Properties</source>
        <translation>Dateieigenschaften</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Rü&amp;ckgängig: %1</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>Search wrapped</source>
        <translation>Suche am anderen Ende fortgesetzt</translation>
    </message>
</context>
<context>
    <name>frmFileProp</name>
    <message>
        <source>File Properties</source>
        <translation>Dateieigenschaften</translation>
    </message>
    <message>
        <source>&amp;Author name:</source>
        <translation>&amp;Name des Autors:</translation>
    </message>
    <message>
        <source>&amp;Company:</source>
        <translation>&amp;Firma:</translation>
    </message>
    <message>
        <source>&amp;Email:</source>
        <translation>&amp;E-Mail:</translation>
    </message>
    <message>
        <source>&amp;Home page:</source>
        <translation>&amp;Homepage:</translation>
    </message>
    <message>
        <source>Required value</source>
        <translation>Pflichtangabe</translation>
    </message>
    <message>
        <source>File &amp;version:</source>
        <translation>Datei&amp;version:</translation>
    </message>
    <message>
        <source>File &amp;description:</source>
        <translation>Datei&amp;beschreibung:</translation>
    </message>
    <message>
        <source>Version info</source>
        <translation>Versionsinformationen</translation>
    </message>
</context>
<context>
    <name>frmGoto</name>
    <message>
        <source>Go to step</source>
        <translation>Gehe zu Schritt</translation>
    </message>
    <message>
        <source>&amp;Line number:</source>
        <translation>&amp;Zeilennummer:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 is not a valid line number</source>
        <translation>%1 ist keine gültige Zeilennummer</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Visual mode settings</source>
        <translation>Einstellungen der visuellen Ansicht</translation>
    </message>
    <message>
        <source>&amp;Font name:</source>
        <translation>&amp;Schriftart:</translation>
    </message>
    <message>
        <source>Font &amp;size:</source>
        <translation>Schrift&amp;größe:</translation>
    </message>
    <message>
        <source>&amp;Comment color:</source>
        <translation>&amp;Kommentarfarbe:</translation>
    </message>
    <message>
        <source>Source mode settings</source>
        <translation>Einstellungen der Quelltextansicht</translation>
    </message>
    <message>
        <source>Font &amp;name:</source>
        <translation>Schrift&amp;art:</translation>
    </message>
    <message>
        <source>Font si&amp;ze:</source>
        <translation>Schriftgröß&amp;e:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmPageSetup</name>
    <message>
        <source>Margins </source>
        <translation>Ränder </translation>
    </message>
    <message>
        <source>&amp;Top:</source>
        <translation>&amp;Oben:</translation>
    </message>
    <message>
        <source>&amp;Bottom:</source>
        <translation>&amp;Unten:</translation>
    </message>
    <message>
        <source>&amp;Left:</source>
        <translation>&amp;Links:</translation>
    </message>
    <message>
        <source>&amp;Right:</source>
        <translation>&amp;Rechts:</translation>
    </message>
    <message>
        <source>Header &amp;&amp; Footer </source>
        <translation>Kopf- &amp;&amp; Fußzeile </translation>
    </message>
    <message>
        <source>From Edge </source>
        <translation>Abstand vom Rand </translation>
    </message>
    <message>
        <source>&amp;Header:</source>
        <translation>&amp;Kopfzeile:</translation>
    </message>
    <message>
        <source>&amp;Footer:</source>
        <translation>&amp;Fußzeile:</translation>
    </message>
    <message>
        <source>H&amp;eader text:</source>
        <translation>Kopfzeilen&amp;text:</translation>
    </message>
    <message>
        <source>F&amp;ooter text:</source>
        <translation>Fußzeilent&amp;ext:</translation>
    </message>
    <message>
        <source>Insert a macro</source>
        <translation>Makro einfügen</translation>
    </message>
    <message>
        <source>Font </source>
        <translation>Schrift </translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>Si&amp;ze:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>File Name ($f)</source>
        <translation>Dateiname ($f)</translation>
    </message>
    <message>
        <source>Full Path ($F)</source>
        <translation>Vollständiger Pfad ($F)</translation>
    </message>
    <message>
        <source>Page Number ($p)</source>
        <translation>Seitenzahl ($p)</translation>
    </message>
    <message>
        <source>Page Count ($P)</source>
        <translation>Seitenanzahl ($P)</translation>
    </message>
    <message>
        <source>Current Date ($d)</source>
        <translation>Aktuelles Datum ($d)</translation>
    </message>
    <message>
        <source>Current Time ($t)</source>
        <translation>Aktuelle Uhrzeit ($t)</translation>
    </message>
    <message>
        <source>File Date ($D)</source>
        <translation>Dateidatum ($D)</translation>
    </message>
    <message>
        <source>File Time ($T)</source>
        <translation>Dateiuhrzeit ($T)</translation>
    </message>
    <message>
        <source>Align Left ($L)</source>
        <translation>Linksbündig ($L)</translation>
    </message>
    <message>
        <source>Align Center ($C)</source>
        <translation>Zentriert ($C)</translation>
    </message>
    <message>
        <source>Align Right ($R)</source>
        <translation>Rechtsbündig ($R)</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Seite einrichten</translation>
    </message>
    <message>
        <source>Printer Page Setup</source>
        <translation>Druckerseite einrichten</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Maßeinheit:</translation>
    </message>
    <message>
        <source>Print Line &amp;Numbers</source>
        <translation>&amp;Zeilennummern drucken</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>Zoll</translation>
    </message>
    <message>
        <source>Millimeters</source>
        <translation>Millimeter</translation>
    </message>
    <message>
        <source>Centimeters</source>
        <translation>Zentimeter</translation>
    </message>
    <message>
        <source>Please enter a number of 0 or more in the field &apos;%1&apos;.</source>
        <translation>Bitte geben Sie im Feld &apos;%1&apos; eine Zahl ab 0 ein.</translation>
    </message>
    <message>
        <source>The margins leave no room for text between the left and the right margin. Please change the value in the field &apos;%1&apos;.</source>
        <translation>Die Ränder lassen zwischen linkem und rechtem Rand keinen Platz für Text. Bitte ändern Sie den Wert im Feld &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>The margins leave less than one line of text between the header and the footer. Please change the value in the field &apos;%1&apos;.</source>
        <translation>Die Ränder lassen zwischen Kopf- und Fußzeile weniger als eine Textzeile. Bitte ändern Sie den Wert im Feld &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Please enter a whole number from 1 to 1638 as the font size.</source>
        <translation>Bitte geben Sie als Schriftgröße eine ganze Zahl von 1 bis 1638 ein.</translation>
    </message>
    <message>
        <source>$f  - File Name $F - Full Path   $p - Page num $P - Total page</source>
        <translation>$f  - Dateiname  $F - Vollständiger Pfad   $p - Seitenzahl  $P - Seitenanzahl</translation>
    </message>
    <message>
        <source>$d - Current date $t  - Current time $D- File date   $T - File time</source>
        <translation>$d - Aktuelles Datum  $t - Aktuelle Uhrzeit  $D - Dateidatum  $T - Dateiuhrzeit</translation>
    </message>
    <message>
        <source>$L - Align left  $C - Align center $R - Align right</source>
        <translation>$L - Linksbündig  $C - Zentriert  $R - Rechtsbündig</translation>
    </message>
</context>
<context>
    <name>frmPreview</name>
    <message>
        <source>Whole page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Page width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Page:  %1 / %2 </source>
        <translation>Seite:  %1 / %2 </translation>
    </message>
    <message>
        <source>Unexpected error</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
    <message>
        <source>Can&apos;t create Print Preview Window</source>
        <translation>Das Fenster der Druckvorschau kann nicht erstellt werden</translation>
    </message>
</context>
<context>
    <name>frmRecover</name>
    <message>
        <source>Recover Scripts</source>
        <translation>Skripte wiederherstellen</translation>
    </message>
    <message>
        <source>These scripts had unsaved changes when the program stopped:</source>
        <translation>Diese Skripte hatten ungespeicherte Änderungen, als das Programm beendet wurde:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source> (cannot be read)</source>
        <translation> (nicht lesbar)</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Später</translation>
    </message>
</context>
</TS>
