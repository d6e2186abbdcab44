<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>Qarda</name>
    <message>
        <source>Fehler beim Erzeugen einer Instanz von XML DOM</source>
        <translation>Error creating an instance of the XML DOM</translation>
    </message>
    <message>
        <source>Fehler beim Setzen der asyncronen Eigenschaften.</source>
        <translation>Error setting the asynchronous properties.</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Setzen der Eigenschaft &quot;validateOnParse&quot; aufgetreten</source>
        <translation>An error occurred while setting the property &quot;validateOnParse&quot;</translation>
    </message>
    <message>
        <source>Failed to disable resolving externals.</source>
        <translation>Failed to disable resolving externals.</translation>
    </message>
    <message>
        <source>Der Wert &apos;%1&apos; konnte im Schlüssel &apos;%2&apos; nicht erzeugt werden.</source>
        <translation>The value &apos;%1&apos; could not be created in the key &apos;%2&apos;.</translation>
    </message>
    <message>
        <source>Schreiben in die Registry schlug fehl.</source>
        <translation>Writing the settings failed.</translation>
    </message>
    <message>
        <source>Fehler in XML Datei: %1
Zeile %2, Position %3
Fehler (%4) Text: %5</source>
        <translation>Error in XML file: %1
Line %2, position %3
Error (%4) text: %5</translation>
    </message>
    <message>
        <source>Der XMLDOMNode konnte nicht erzeugt werden.</source>
        <translation>The XML DOM node could not be created.</translation>
    </message>
    <message>
        <source>Fehler beim Holen der Attribute.</source>
        <translation>Error getting the attributes.</translation>
    </message>
    <message>
        <source>Fehler bei der Abfrage des Namens des Elements</source>
        <translation>Error querying the name of the element</translation>
    </message>
    <message>
        <source>Fehler bei der Abfrage des Typs des Elements.</source>
        <translation>Error querying the type of the element.</translation>
    </message>
    <message>
        <source>Fehler bei der Abfrage des Wertes des ersten Elements.</source>
        <translation>Error querying the value of the first element.</translation>
    </message>
    <message>
        <source>XML Datei konnte nicht gefunden werden: %1</source>
        <translation>XML file not found: %1</translation>
    </message>
    <message>
        <source>Fehler beim Laden der Datei &apos;%1&apos;</source>
        <translation>Error loading the file &apos;%1&apos;</translation>
    </message>
    <message>
        <source>XML - Datei (xml)|*.xml||</source>
        <translation>XML file (xml)|*.xml||</translation>
    </message>
    <message>
        <source>Undefinierte Ergebnisse</source>
        <translation>Unassigned results</translation>
    </message>
    <message>
        <source>Istwerte</source>
        <translation>Actual values</translation>
    </message>
    <message>
        <source>Vektoren</source>
        <translation>Vectors</translation>
    </message>
    <message>
        <source>Kurvenabtastung</source>
        <translation>Curve sampling</translation>
    </message>
    <message>
        <source>Harmonische</source>
        <translation>Harmonics</translation>
    </message>
    <message>
        <source>Fehlermessung</source>
        <translation>Error measurement</translation>
    </message>
    <message>
        <source>Registertest</source>
        <translation>Register test</translation>
    </message>
    <message>
        <source>TmTe</source>
        <translation>TmTe</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Laden des XML-Codes aufgetreten</source>
        <translation>An error occurred while loading the XML code</translation>
    </message>
    <message>
        <source>Beim Speichern der XML Datei ist ein Fehler aufgetreten</source>
        <translation>An error occurred while saving the XML file</translation>
    </message>
    <message>
        <source>Es ist kein gültiges XMLDocument vorhanden</source>
        <translation>There is no valid XML document</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Holen der Elemente aufgetreten</source>
        <translation>An error occurred while getting the elements</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Holen der Anzahl der Elemente aufgetreten</source>
        <translation>An error occurred while getting the number of elements</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Holen des document Elements aufgetreten</source>
        <translation>An error occurred while getting the document element</translation>
    </message>
    <message>
        <source>Element konnten nicht aus der XML Datei entfernt werden</source>
        <translation>Element could not be removed from the XML file</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Holen des Vorgängerknotens aufgetreten</source>
        <translation>An error occurred while getting the parent node</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Setzen des Wertes aufgetreten</source>
        <translation>An error occurred while setting the value</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Erzeugen eines Attributes aufgetreten</source>
        <translation>An error occurred while creating an attribute</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Setzen des Attributes aufgetreten</source>
        <translation>An error occurred while setting the attribute</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Erzeugen eines Knoten aufgetreten</source>
        <translation>An error occurred while creating a node</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Anhängen eines Knoten aufgetreten</source>
        <translation>An error occurred while appending a node</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Laden des Wertes aufgetreten</source>
        <translation>An error occurred while loading the value</translation>
    </message>
    <message>
        <source>BMP - Datei (bmp)|*.bmp||</source>
        <translation>BMP file (bmp)|*.bmp||</translation>
    </message>
    <message>
        <source>Es wurden keine Ergebnisse im PX900 abgespeichert.</source>
        <translation>No results are stored in the PX900.</translation>
    </message>
    <message>
        <source>Nr</source>
        <translation>No</translation>
    </message>
    <message>
        <source>ID: </source>
        <translation>ID: </translation>
    </message>
    <message>
        <source>Hersteller</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>Fabrik Nr.</source>
        <translation>Serial no.</translation>
    </message>
    <message>
        <source>Eigentumsnr.</source>
        <translation>Property no.</translation>
    </message>
    <message>
        <source>Betreiber</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Lieferant</source>
        <translation>Supplier</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>KOLT GmbH</source>
        <translation>KOLT GmbH</translation>
    </message>
    <message>
        <source>Standort</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Kunde</source>
        <translation>Customer</translation>
    </message>
    <message>
        <source>Messwerte</source>
        <translation>Measured values</translation>
    </message>
    <message>
        <source>U-Bürden</source>
        <translation>U burdens</translation>
    </message>
    <message>
        <source>I-Bürden</source>
        <translation>I burdens</translation>
    </message>
    <message>
        <source>Deutsch</source>
        <translation>German</translation>
    </message>
    <message>
        <source>Englisch</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Die von Ihnen eingegebene ID ist schon vergeben.</source>
        <translation>The ID you entered is already in use.</translation>
    </message>
    <message>
        <source>U-Übersetzung</source>
        <translation>U ratio</translation>
    </message>
    <message>
        <source>I-Übersetzung</source>
        <translation>I ratio</translation>
    </message>
    <message>
        <source>Konstante</source>
        <translation>Constant</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>Übersetzung</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>Fortlaufende Istwerte</source>
        <translation>Continuous actual values</translation>
    </message>
    <message>
        <source>MA</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Messplatznr.: </source>
        <translation>Measuring point no.: </translation>
    </message>
    <message>
        <source>IEC 387</source>
        <translation>IEC 387</translation>
    </message>
    <message>
        <source>DIN 410</source>
        <translation>DIN 410</translation>
    </message>
    <message>
        <source>Wählen Sie ein Verzeichnis für die Backup-Dateien aus.</source>
        <translation>Choose a folder for the backup files.</translation>
    </message>
    <message>
        <source>Typ: %1</source>
        <translation>Type: %1</translation>
    </message>
    <message>
        <source>Nr:  %1</source>
        <translation>No:  %1</translation>
    </message>
    <message>
        <source>Bemerkung</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>Messwerte (nicht justiertes Gerät)</source>
        <translation>Measured values (device not adjusted)</translation>
    </message>
    <message>
        <source>Das Gerät konnte nicht initialisiert werden.</source>
        <translation>The device could not be initialised.</translation>
    </message>
    <message>
        <source>Das Kommando %1 konnte nicht ausgeführt werden.</source>
        <translation>The command %1 could not be carried out.</translation>
    </message>
    <message>
        <source>Es ist ein Kommunikationsfehler aufgetreten.</source>
        <translation>A communication error occurred.</translation>
    </message>
    <message>
        <source>Es ist ein Timeoutfehler aufgetreten. Die Antwort (%1) stimmt nicht mit der erwarteten Antwort überein.</source>
        <translation>A time-out error occurred. The answer (%1) does not match the expected answer.</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim PX900 aufgetreten. </source>
        <translation>An error occurred in the PX900. </translation>
    </message>
    <message>
        <source>Beim Abfragen der Istwerte beim PX900 ist ein Fehler aufgetreten. </source>
        <translation>An error occurred while requesting the actual values from the PX900. </translation>
    </message>
    <message>
        <source>Beim löschen der Ergebnisse im Px900 ist ein Fehler aufgetreten. </source>
        <translation>An error occurred while deleting the results in the PX900. </translation>
    </message>
    <message>
        <source>Wollen Sie die im PX900 gespeicherten Ergebnisse löschen ?</source>
        <translation>Do you want to delete the results stored in the PX900?</translation>
    </message>
    <message>
        <source>Wollen Sie die im PX900 gespeicherten Ergebnisse wirklich löschen ?</source>
        <translation>Do you really want to delete the results stored in the PX900?</translation>
    </message>
    <message>
        <source>Beim Abfragen der Anzahl der gepeicherten Werte beim PX900 ist ein Fehler aufgetreten. </source>
        <translation>An error occurred while requesting the number of stored values from the PX900. </translation>
    </message>
    <message>
        <source>Zählerdaten</source>
        <translation>Meter data</translation>
    </message>
    <message>
        <source>UI-Transformer</source>
        <translation>UI transformer</translation>
    </message>
    <message>
        <source>Automatische Messung</source>
        <translation>Automatic measurement</translation>
    </message>
    <message>
        <source>Aux-Kanäle</source>
        <translation>AUX channels</translation>
    </message>
    <message>
        <source>Es ist ein Fehler beim Selektieren der Elemente aufgetreten</source>
        <translation>An error occurred while selecting the elements</translation>
    </message>
    <message>
        <source>Fehler beim Abfragen des Elementes zu einen Knoten</source>
        <translation>Error querying the element of a node</translation>
    </message>
    <message>
        <source>Es existiert bereits eine Gruppe mit der Bezeichnung.</source>
        <translation>A group with this name already exists.</translation>
    </message>
    <message>
        <source>Fehler beim kopieren eines Elements.</source>
        <translation>Error copying an element.</translation>
    </message>
    <message>
        <source>Selektive Leistungsmessung</source>
        <translation>Selective power measurement</translation>
    </message>
    <message>
        <source>Die Ergebnisse wurden erfolgreich gelöscht.</source>
        <translation>The results were deleted.</translation>
    </message>
    <message>
        <source>Beim abfragen der Version ist ein Fehler aufgetrten.</source>
        <translation>An error occurred while requesting the version.</translation>
    </message>
    <message>
        <source>PX900 Adresse</source>
        <translation>PX900 address</translation>
    </message>
    <message>
        <source>4LW</source>
        <translation>4LW</translation>
    </message>
    <message>
        <source>4LBE</source>
        <translation>4LBE</translation>
    </message>
    <message>
        <source>4LBK</source>
        <translation>4LBK</translation>
    </message>
    <message>
        <source>4LS</source>
        <translation>4LS</translation>
    </message>
    <message>
        <source>3LW</source>
        <translation>3LW</translation>
    </message>
    <message>
        <source>3LBE</source>
        <translation>3LBE</translation>
    </message>
    <message>
        <source>3LBKA</source>
        <translation>3LBKA</translation>
    </message>
    <message>
        <source>3LBKB</source>
        <translation>3LBKB</translation>
    </message>
    <message>
        <source>3LS</source>
        <translation>3LS</translation>
    </message>
    <message>
        <source>2LW</source>
        <translation>2LW</translation>
    </message>
    <message>
        <source>2LB</source>
        <translation>2LB</translation>
    </message>
    <message>
        <source>2LS</source>
        <translation>2LS</translation>
    </message>
    <message>
        <source>MQRef</source>
        <translation>MQRef</translation>
    </message>
    <message>
        <source>Französisch</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Registertest - PQS</source>
        <translation>Register test - PQS</translation>
    </message>
    <message>
        <source>Tschechisch</source>
        <translation>Czech</translation>
    </message>
    <message>
        <source>den Bereich</source>
        <translation>the range</translation>
    </message>
    <message>
        <source>das Maximum</source>
        <translation>the maximum</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Bearbeiten</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Da&amp;rstellung</source>
        <translation>&amp;Display</translation>
    </message>
    <message>
        <source>&amp;Einstellungen</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Istwerte / Vektordiagramm</source>
        <translation>&amp;Actual values / vector diagram</translation>
    </message>
    <message>
        <source>&amp;Harmonische</source>
        <translation>&amp;Harmonics</translation>
    </message>
    <message>
        <source>F&amp;ehlermessung</source>
        <translation>&amp;Error measurement</translation>
    </message>
    <message>
        <source>&amp;Backup erstellen</source>
        <translation>&amp;Create backup</translation>
    </message>
    <message>
        <source>Backup &amp;wiederherstellen...</source>
        <translation>&amp;Restore backup...</translation>
    </message>
    <message>
        <source>&amp;Drucken...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>Sei&amp;tenansicht</source>
        <translation>Print pre&amp;view</translation>
    </message>
    <message>
        <source>Drucker&amp;einrichtung...</source>
        <translation>P&amp;rint setup...</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Neuer Ort...</source>
        <translation>&amp;New location...</translation>
    </message>
    <message>
        <source>Ne&amp;ue Gruppe...</source>
        <translation>New &amp;group...</translation>
    </message>
    <message>
        <source>&amp;Bearbeiten...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>&amp;Importieren...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>E&amp;xportieren...</source>
        <translation>E&amp;xport...</translation>
    </message>
    <message>
        <source>&amp;Löschen</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Ergebnis zuweisen...</source>
        <translation>&amp;Assign result...</translation>
    </message>
    <message>
        <source>Er&amp;gebnis exportieren...</source>
        <translation>Export res&amp;ult...</translation>
    </message>
    <message>
        <source>Be&amp;merkung und Adresse bearbeiten...</source>
        <translation>Edit re&amp;mark and address...</translation>
    </message>
    <message>
        <source>E&amp;rgebnisse löschen</source>
        <translation>Delete resul&amp;ts</translation>
    </message>
    <message>
        <source>&amp;PX/COM Daten auslesen...</source>
        <translation>&amp;Read out PX/COM data...</translation>
    </message>
    <message>
        <source>&amp;XML-Datein für PX9000 Formatieren</source>
        <translation>&amp;Format XML files for PX9000</translation>
    </message>
    <message>
        <source>&amp;Istwerte</source>
        <translation>&amp;Actual values</translation>
    </message>
    <message>
        <source>&amp;Vektordiagramm</source>
        <translation>&amp;Vector diagram</translation>
    </message>
    <message>
        <source>I&amp;stwerte und Vektordiagramm</source>
        <translation>Actual values &amp;and vector diagram</translation>
    </message>
    <message>
        <source>&amp;Tabelle</source>
        <translation>&amp;Table</translation>
    </message>
    <message>
        <source>&amp;Logarithmische Darstellung</source>
        <translation>&amp;Logarithmic chart</translation>
    </message>
    <message>
        <source>&amp;Lineare Darstellung</source>
        <translation>L&amp;inear chart</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Istwert anzeigen</source>
        <translation>Show value</translation>
    </message>
    <message>
        <source>Istwerte auswählen...</source>
        <translation>Choose values...</translation>
    </message>
    <message>
        <source>&amp;Einstellungen...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>&amp;Vektoren...</source>
        <translation>&amp;Vectors...</translation>
    </message>
    <message>
        <source>&amp;Symbolleiste</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>S&amp;tatusleiste</source>
        <translation>&amp;Status bar</translation>
    </message>
    <message>
        <source>Inf&amp;o über Qarda...</source>
        <translation>&amp;About Qarda...</translation>
    </message>
    <message>
        <source>Symbolleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Hauptdatei:</source>
        <translation>Main file:</translation>
    </message>
    <message>
        <source>Ergebnisdatei:</source>
        <translation>Result file:</translation>
    </message>
    <message>
        <source>Sprache:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Winkelnorm:</source>
        <translation>Angle convention:</translation>
    </message>
    <message>
        <source>Backup-Verzeichnis:</source>
        <translation>Backup folder:</translation>
    </message>
    <message>
        <source>Logo für den Ausdruck:</source>
        <translation>Logo for printing:</translation>
    </message>
    <message>
        <source>Die Sprache wird erst beim nächsten Start der Anwendung umgeschaltet!!!</source>
        <translation>The language changes at the next start of the program!</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Info über Qarda</source>
        <translation>About Qarda</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Copyright © KOLT GmbH</source>
        <translation>Copyright © KOLT GmbH</translation>
    </message>
    <message>
        <source>Auslesen, Verwalten und Darstellen der Messergebnisse des PX900</source>
        <translation>Reads out, manages and presents the measurement results of the PX900</translation>
    </message>
    <message>
        <source>Länge der Vektoren bezogen auf</source>
        <translation>Length of the vectors relative to</translation>
    </message>
    <message>
        <source>Farben</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>Der Druck konnte nicht gestartet werden: %1</source>
        <translation>Printing could not be started: %1</translation>
    </message>
    <message>
        <source>Schnittstelle:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Timeout (ms):</source>
        <translation>Time-out (ms):</translation>
    </message>
    <message>
        <source>Ergebnisse auslesen</source>
        <translation>Read out results</translation>
    </message>
    <message>
        <source>Ergebnisse löschen</source>
        <translation>Delete results</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Fortschritt</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Schnittstellenüberwachung</source>
        <translation>Port monitor</translation>
    </message>
    <message>
        <source>Ort bzw. Gruppe bearbeiten
Bearbeiten</source>
        <translation>Edit the location or group
Edit</translation>
    </message>
    <message>
        <source>Einen neuen Ort anlegen
Neuer Ort</source>
        <translation>Create a new location
New location</translation>
    </message>
    <message>
        <source>Ausgewählten Eintrag löschen
Löschen</source>
        <translation>Delete the selected entry
Delete</translation>
    </message>
    <message>
        <source>Auswahl der XML-Dateien und der Sprache
Auswahl der XML-Dateien und der Sprache</source>
        <translation>Choose the XML files and the language
Choose the XML files and the language</translation>
    </message>
    <message>
        <source>Ergebnisse einem Ort zuweisen
Ergebnis zuweisen</source>
        <translation>Assign results to a location
Assign result</translation>
    </message>
    <message>
        <source>Istwerte als Tabelle anzeigen
Istwerte</source>
        <translation>Show the actual values as a table
Actual values</translation>
    </message>
    <message>
        <source>Istwerte als Vektordiagramm anzeigen
Vektordiagramm</source>
        <translation>Show the actual values as a vector diagram
Vector diagram</translation>
    </message>
    <message>
        <source>Harmonische als Tabelle anzeigen
Tabelle</source>
        <translation>Show the harmonics as a table
Table</translation>
    </message>
    <message>
        <source>Harmonische logarithmisch darstellen
Logarithmische Darstellung</source>
        <translation>Show the harmonics on a logarithmic scale
Logarithmic chart</translation>
    </message>
    <message>
        <source>Harmonische linear darstellen
Lineare Darstellung</source>
        <translation>Show the harmonics on a linear scale
Linear chart</translation>
    </message>
    <message>
        <source>Einen Bereich der fortlaufenden Istwerte vergrößern
Zoom In</source>
        <translation>Enlarge a range of the continuous actual values
Zoom In</translation>
    </message>
    <message>
        <source>Die ganze Messreihe anzeigen
Zoom Out</source>
        <translation>Show the whole series
Zoom Out</translation>
    </message>
    <message>
        <source>Den Istwert an der Mausposition anzeigen
Istwert anzeigen</source>
        <translation>Show the value at the mouse position
Show value</translation>
    </message>
    <message>
        <source>Die dargestellten Istwerte auswählen
Istwerte auswählen</source>
        <translation>Choose the values shown
Choose values</translation>
    </message>
    <message>
        <source>Eine Sicherung der XML-Dateien anlegen
Backup erstellen</source>
        <translation>Make a backup of the XML files
Create backup</translation>
    </message>
    <message>
        <source>Die XML-Dateien aus einer Sicherung wiederherstellen
Backup wiederherstellen</source>
        <translation>Restore the XML files from a backup
Restore backup</translation>
    </message>
    <message>
        <source>Die ausgewählten Ergebnisse löschen
Ergebnisse löschen</source>
        <translation>Delete the selected results
Delete results</translation>
    </message>
    <message>
        <source>Bemerkung und Adresse des Ergebnisses bearbeiten
Bemerkung und Adresse</source>
        <translation>Edit the remark and address of the result
Remark and address</translation>
    </message>
    <message>
        <source>PX/COM Daten auslesen
Gespeicherte Daten aus dem PX/COM auslesen</source>
        <translation>Read out PX/COM data
Read the stored data out of the PX/COM</translation>
    </message>
    <message>
        <source>Das Ergebnis in eine CSV-Datei exportieren
Ergebnis exportieren</source>
        <translation>Export the result to a CSV file
Export result</translation>
    </message>
    <message>
        <source>Orte aus einer CSV- oder XML-Datei importieren
Importieren</source>
        <translation>Import locations from a CSV or XML file
Import</translation>
    </message>
    <message>
        <source>Bezug und Farben des Vektordiagramms einstellen
Vektoren</source>
        <translation>Set the reference and colours of the vector diagram
Vectors</translation>
    </message>
    <message>
        <source>Eine neue Gruppe anlegen
Neue Gruppe</source>
        <translation>Create a new group
New group</translation>
    </message>
    <message>
        <source>Den Ort mit seinen Ergebnissen exportieren
Exportieren</source>
        <translation>Export the location with its results
Export</translation>
    </message>
    <message>
        <source>Fehlermessung mit Istwerten anzeigen
Istwerte</source>
        <translation>Show the error measurement with actual values
Actual values</translation>
    </message>
    <message>
        <source>Fehlermessung mit Vektordiagramm anzeigen
Vektordiagramm</source>
        <translation>Show the error measurement with a vector diagram
Vector diagram</translation>
    </message>
    <message>
        <source>Fehlermessung mit Istwerten und Vektordiagramm anzeigen
Istwerte und Vektordiagramm</source>
        <translation>Show the error measurement with actual values and vector diagram
Actual values and vector diagram</translation>
    </message>
    <message>
        <source>Istwerte als Tabelle und Vektordiagramm anzeigen
Istwerte und Vektordiagramm</source>
        <translation>Show the actual values as a table and vector diagram
Actual values and vector diagram</translation>
    </message>
    <message>
        <source>Beide XML-Dateien mit Zeilenumbrüchen neu schreiben
XML-Dateien formatieren</source>
        <translation>Rewrite both XML files with line breaks
Format XML files</translation>
    </message>
    <message>
        <source>Qarda</source>
        <translation>Qarda</translation>
    </message>
    <message>
        <source>Bereit</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Drucker und Druckoptionen einstellen
Druckereinrichtung</source>
        <translation>Set up the printer and the print options
Print setup</translation>
    </message>
    <message>
        <source>Das ausgewählte Ergebnis drucken
Drucken</source>
        <translation>Print the selected result
Print</translation>
    </message>
    <message>
        <source>Die Druckseiten anzeigen
Seitenansicht</source>
        <translation>Show the printed pages
Print preview</translation>
    </message>
    <message>
        <source>Programminformation, Versionsnummer und Copyright anzeigen
Info</source>
        <translation>Show program information, version number and copyright
About</translation>
    </message>
    <message>
        <source>Das Programm beenden
Beenden</source>
        <translation>Quit the program
Exit</translation>
    </message>
    <message>
        <source>UF</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>RF</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>Symbolleiste ein- oder ausblenden
Symbolleiste</source>
        <translation>Show or hide the toolbar
Toolbar</translation>
    </message>
    <message>
        <source>Statusleiste ein- oder ausblenden
Statusleiste</source>
        <translation>Show or hide the status bar
Status bar</translation>
    </message>
    <message>
        <source>Spanisch</source>
        <translation>Spanish</translation>
    </message>
    <message>
        <source>Russisch</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>Gruppe: %1</source>
        <translation>Group: %1</translation>
    </message>
    <message>
        <source>Ort: %1</source>
        <translation>Location: %1</translation>
    </message>
    <message>
        <source>Netz</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Zähler</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Ergebnisse</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Orte</source>
        <translation>Locations</translation>
    </message>
    <message>
        <source>Gesamt</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Sie beabsichtigen einen oder mehrere Datensätze zu löschen. 

Wollen Sie die Löschung durchführen.</source>
        <translation>You are about to delete one or more records. 

Do you want to carry out the deletion?</translation>
    </message>
    <message>
        <source>Diesem Datensatz sind Ergebnisse zugewiesen.
Wollen Sie die Ergebnisse löschen ?</source>
        <translation>Results are assigned to this record.
Do you want to delete the results?</translation>
    </message>
    <message>
        <source>Betrag</source>
        <translation>Magnitude</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Kanal</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Summe</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Zählerkonstante</source>
        <translation>Meter constant</translation>
    </message>
    <message>
        <source>Impulsanzahl</source>
        <translation>Number of pulses</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Messtaktquelle</source>
        <translation>Measuring clock source</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Energie/Leistung</source>
        <translation>Energy/power</translation>
    </message>
    <message>
        <source>Anfang</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>E-Register</source>
        <translation>E-Register</translation>
    </message>
    <message>
        <source>P-Register</source>
        <translation>P-Register</translation>
    </message>
    <message>
        <source>Messung</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Zählen</source>
        <translation>Counting</translation>
    </message>
    <message>
        <source>Kontakt</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>CSV - Datei (csv)|*.csv||</source>
        <translation>CSV file (csv)|*.csv||</translation>
    </message>
    <message>
        <source>Energie</source>
        <translation>Energy</translation>
    </message>
    <message>
        <source>Leistung</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>U-Nominal</source>
        <translation>U-Nominal</translation>
    </message>
    <message>
        <source>I-Nominal</source>
        <translation>I-Nominal</translation>
    </message>
    <message>
        <source>B-Nominal</source>
        <translation>B-Nominal</translation>
    </message>
    <message>
        <source>W-Länge</source>
        <translation>W-Length</translation>
    </message>
    <message>
        <source>W-Maß</source>
        <translation>W-Gauge</translation>
    </message>
    <message>
        <source>Geberprüfung</source>
        <translation>Transmitter test</translation>
    </message>
    <message>
        <source>tm/te</source>
        <translation>tm/te</translation>
    </message>
    <message>
        <source>Messungen</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Spannweite</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Mittelwert</source>
        <translation>Mean value</translation>
    </message>
    <message>
        <source>Std. Abweichung</source>
        <translation>Std. deviation</translation>
    </message>
    <message>
        <source>U-Transformer</source>
        <translation>U transformer</translation>
    </message>
    <message>
        <source>N-Prim</source>
        <translation>N-Prim</translation>
    </message>
    <message>
        <source>N-Sek</source>
        <translation>N-Sek</translation>
    </message>
    <message>
        <source>X-Prim</source>
        <translation>X-Prim</translation>
    </message>
    <message>
        <source>X-Sek</source>
        <translation>X-Sek</translation>
    </message>
    <message>
        <source>I-Transformer</source>
        <translation>I transformer</translation>
    </message>
    <message>
        <source>Prim</source>
        <translation>Prim</translation>
    </message>
    <message>
        <source>X-e</source>
        <translation>X-e</translation>
    </message>
    <message>
        <source>X-d</source>
        <translation>X-d</translation>
    </message>
    <message>
        <source>Summe UI</source>
        <translation>Total UI</translation>
    </message>
    <message>
        <source>U</source>
        <translation>U</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>e</source>
        <translation>e</translation>
    </message>
    <message>
        <source>d</source>
        <translation>d</translation>
    </message>
    <message>
        <source>Abtastwert</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Ref. Name</source>
        <translation>Ref. name</translation>
    </message>
    <message>
        <source>Ref. Wert</source>
        <translation>Ref. value</translation>
    </message>
    <message>
        <source>Ref. Winkel</source>
        <translation>Ref. angle</translation>
    </message>
    <message>
        <source>Diff. Wert</source>
        <translation>Diff. value</translation>
    </message>
    <message>
        <source>Diff. Winkel</source>
        <translation>Diff. angle</translation>
    </message>
    <message>
        <source>Dieser Gruppe sind Orte zugeordnet.
Wollen Sie die zugeordneten Orte mit löschen?</source>
        <translation>Locations are assigned to this group.
Do you want to delete the assigned locations as well?</translation>
    </message>
    <message>
        <source>Messzeit</source>
        <translation>Measuring time</translation>
    </message>
    <message>
        <source>Xc-Prim</source>
        <translation>Xc-Prim</translation>
    </message>
    <message>
        <source>Xc-Sek</source>
        <translation>Xc-Sek</translation>
    </message>
    <message>
        <source>U Bereich</source>
        <translation>U range</translation>
    </message>
    <message>
        <source>I Bereich</source>
        <translation>I range</translation>
    </message>
    <message>
        <source>Frequenz</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Phasen</source>
        <translation>Phases</translation>
    </message>
    <message>
        <source>Startzeit</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Stopzeit</source>
        <translation>Stop time</translation>
    </message>
    <message>
        <source>Messdauer</source>
        <translation>Measurement duration</translation>
    </message>
    <message>
        <source>Istwerte wählen</source>
        <translation>Choose values</translation>
    </message>
    <message>
        <source>Nr %1   %2   %3 = %4</source>
        <translation>No %1   %2   %3 = %4</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; kann nicht zum Schreiben geöffnet werden.
%2</source>
        <translation>The file &apos;%1&apos; cannot be opened for writing.
%2</translation>
    </message>
    <message>
        <source>In die Datei &apos;%1&apos; konnte nicht geschrieben werden. Der bisherige Inhalt der Datei ist unverändert.
%2</source>
        <translation>The file &apos;%1&apos; could not be written. Its previous content is unchanged.
%2</translation>
    </message>
    <message>
        <source>PDF - Datei (pdf)|*.pdf||</source>
        <translation>PDF file (pdf)|*.pdf||</translation>
    </message>
    <message>
        <source>Als PDF exportieren...</source>
        <translation>Export as PDF...</translation>
    </message>
    <message>
        <source>Unbekannte Ergebnisart &apos;%1&apos;. Bekannte Arten: %2</source>
        <translation>Unknown result kind &apos;%1&apos;. Known kinds: %2</translation>
    </message>
    <message>
        <source>Ungültiges Datum &apos;%1&apos; (erwartet TT.MM.JJJJ oder JJJJ-MM-TT).</source>
        <translation>Invalid date &apos;%1&apos; (expected DD.MM.YYYY or YYYY-MM-DD).</translation>
    </message>
    <message>
        <source>Die Auswahl enthält Ergebnisse mehrerer Arten (%1), eine CSV-Datei nimmt aber nur eine Art auf. Wählen Sie eine Art mit --kind oder setzen Sie {kind} in den Dateinamen.</source>
        <translation>The selection contains results of several kinds (%1), but a CSV file holds only one kind. Choose a kind with --kind or put {kind} in the file name.</translation>
    </message>
    <message>
        <source>Kein Ergebnis passt zur Auswahl.</source>
        <translation>No result matches the selection.</translation>
    </message>
    <message>
        <source>--export-pdf braucht --id, --date und --time.</source>
        <translation>--export-pdf needs --id, --date and --time.</translation>
    </message>
    <message>
        <source>Kein Ergebnis mit der ID &apos;%1&apos;, dem Datum %2 und der Uhrzeit %3 gefunden.</source>
        <translation>No result found with the ID &apos;%1&apos;, the date %2 and the time %3.</translation>
    </message>
    <message>
        <source>Der Schalter %1 braucht einen Wert.</source>
        <translation>The option %1 needs a value.</translation>
    </message>
    <message>
        <source>Allgemeine Daten</source>
        <translation>General data</translation>
    </message>
    <message>
        <source>Kundendaten</source>
        <translation>Customer data</translation>
    </message>
    <message>
        <source>Gruppe:</source>
        <translation>Group:</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>Bemerkung:</source>
        <translation>Remark:</translation>
    </message>
    <message>
        <source>Vorname:</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>Name/Firma:</source>
        <translation>Name/company:</translation>
    </message>
    <message>
        <source>Strasse:</source>
        <translation>Street:</translation>
    </message>
    <message>
        <source>PLZ:</source>
        <translation>Postcode:</translation>
    </message>
    <message>
        <source>Ort:</source>
        <translation>City:</translation>
    </message>
    <message>
        <source>Land:</source>
        <translation>Country:</translation>
    </message>
    <message>
        <source>Nr:</source>
        <translation>No:</translation>
    </message>
    <message>
        <source>Betreiber:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>Lieferant:</source>
        <translation>Supplier:</translation>
    </message>
    <message>
        <source>Hersteller:</source>
        <translation>Manufacturer:</translation>
    </message>
    <message>
        <source>FabrikNr:</source>
        <translation>Serial no.:</translation>
    </message>
    <message>
        <source>EigentumsNr:</source>
        <translation>Property no.:</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Ergebnis zuordnen</source>
        <translation>Assign result</translation>
    </message>
    <message>
        <source>Bemerkung und Adresse eingeben</source>
        <translation>Enter remark and address</translation>
    </message>
    <message>
        <source>PX900 Adresse:</source>
        <translation>PX900 address:</translation>
    </message>
    <message>
        <source>Geben Sie die ID des Messortes ein und wählen Sie die Gruppe, zu der er gehört.</source>
        <translation>Enter the ID of the measuring location and choose the group it belongs to.</translation>
    </message>
    <message>
        <source>Name und Anschrift des Kunden.</source>
        <translation>Name and address of the customer.</translation>
    </message>
    <message>
        <source>Anschrift des Standortes, an dem gemessen wird.</source>
        <translation>Address of the site where the measurement is taken.</translation>
    </message>
    <message>
        <source>Netzbetreiber und Energielieferant.</source>
        <translation>Network operator and energy supplier.</translation>
    </message>
    <message>
        <source>Angaben zum Zähler.</source>
        <translation>Details of the meter.</translation>
    </message>
    <message>
        <source>Wählen Sie den Ort, dem das Ergebnis zugeordnet werden soll.</source>
        <translation>Choose the location the result is to be assigned to.</translation>
    </message>
    <message>
        <source>Bemerkung zum Ergebnis und Adresse des PX900.</source>
        <translation>Remark on the result and address of the PX900.</translation>
    </message>
    <message>
        <source>&amp;Rückgängig</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Wiederherstellen</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Bitte geben Sie eine ID ein.</source>
        <translation>Please enter an ID.</translation>
    </message>
    <message>
        <source>Bitte geben Sie eine Bezeichnung für die Gruppe ein.</source>
        <translation>Please enter a name for the group.</translation>
    </message>
    <message>
        <source>Die Änderung konnte nicht gespeichert werden. Beide Dateien sind unverändert.</source>
        <translation>The change could not be saved. Both files are unchanged.</translation>
    </message>
    <message>
        <source>Die Datei %1 konnte nicht wiederhergestellt werden.</source>
        <translation>The file %1 could not be restored.</translation>
    </message>
    <message>
        <source>Die Daten wurden inzwischen geändert. Der Schritt kann nicht rückgängig gemacht werden.</source>
        <translation>The data has been changed in the meantime. The step cannot be undone.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; ist keine passende Datendatei: ihr Wurzelelement ist &apos;%2&apos;, erwartet wird &apos;%3&apos;. Sie wird nicht geändert.</source>
        <translation>The file &apos;%1&apos; is not a suitable data file: its root element is &apos;%2&apos;, &apos;%3&apos; is expected. It is left unchanged.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; wurde inzwischen von einem anderen Programm geändert. Die Änderung wurde nicht gespeichert; die Datei wird neu geladen.</source>
        <translation>The file &apos;%1&apos; has been changed by another program in the meantime. The change was not saved; the file is being reloaded.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; wird gerade von einem anderen Programm geändert. Bitte versuchen Sie es später noch einmal.</source>
        <translation>The file &apos;%1&apos; is being changed by another program at the moment. Please try again later.</translation>
    </message>
    <message>
        <source>Das angezeigte Ergebnis als PDF-Datei speichern
Als PDF exportieren</source>
        <translation>Save the displayed result as a PDF file
Export as PDF</translation>
    </message>
    <message>
        <source>Das PX900 meldet %1 gespeicherte Ergebnisse; so viele kann es nicht speichern. Die Antwort ist gestört.</source>
        <translation>The PX900 reports %1 stored results; it cannot store that many. The answer is garbled.</translation>
    </message>
    <message>
        <source>Das PX900 hat %1 leere Ergebnisse in Folge geliefert; die Auslesung wurde abgebrochen.</source>
        <translation>The PX900 returned %1 empty results in a row; the readout was stopped.</translation>
    </message>
    <message>
        <source>%1 Ergebnisse unbekannter Art (%2) wurden nicht gespeichert.</source>
        <translation>%1 results of an unknown kind (%2) were not stored.</translation>
    </message>
    <message>
        <source>Die Ergebnisse im PX900 wurden nicht gelöscht, weil nicht alle gespeichert werden konnten.</source>
        <translation>The results in the PX900 were not deleted because not all of them could be stored.</translation>
    </message>
    <message>
        <source>Ausgelesen: %1 Ergebnisse, davon %2 neu und %3 bereits gespeichert.</source>
        <translation>Read out: %1 results, %2 of them new and %3 already stored.</translation>
    </message>
    <message>
        <source>Auslesen abgebrochen. Die Ergebnisdatei ist unverändert.</source>
        <translation>Readout cancelled. The result file is unchanged.</translation>
    </message>
    <message>
        <source>Warten auf das Gerät abgebrochen.</source>
        <translation>Waiting for the device was cancelled.</translation>
    </message>
    <message>
        <source>Das Backup-Verzeichnis &apos;%1&apos; konnte nicht angelegt werden.</source>
        <translation>The backup folder &apos;%1&apos; could not be created.</translation>
    </message>
    <message>
        <source>Backup wurde erfolgreich im Verzeichnis &apos;%1&apos; erstellt.</source>
        <translation>The backup was created in the folder &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Bitte geben Sie für das Trennzeichen ein Zeichen ein.</source>
        <translation>Please enter one character as the separator.</translation>
    </message>
    <message>
        <source>Bitte wählen Sie eine gültige Datei aus.</source>
        <translation>Please choose a valid file.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Vorname</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Strasse</source>
        <translation>Street</translation>
    </message>
    <message>
        <source>PLZ</source>
        <translation>Postcode</translation>
    </message>
    <message>
        <source>Stadt</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Land</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Sie müssen mindestens eine Datei angeben.</source>
        <translation>You must name at least one file.</translation>
    </message>
    <message>
        <source>Der Ort existiert bereits in der Exportdatei.
Wollen Sie den Ort überschreiben ?</source>
        <translation>The location already exists in the export file.
Do you want to overwrite it?</translation>
    </message>
    <message>
        <source>Der Ort mit der ID &quot;%1&quot; existiert bereits.
Wollen Sie den Ort überschreiben ?</source>
        <translation>The location with the ID &quot;%1&quot; already exists.
Do you want to overwrite it?</translation>
    </message>
    <message>
        <source>Import beendet: %1 Orte hinzugefügt, %2 Orte ersetzt, %3 Orte übersprungen (ID schon vorhanden), %4 Zeilen abgelehnt.</source>
        <translation>Import finished: %1 locations added, %2 locations replaced, %3 locations skipped (ID already present), %4 lines refused.</translation>
    </message>
    <message>
        <source>Import beendet: %1 Orte hinzugefügt, %2 Orte ersetzt, %3 Orte übersprungen (ID schon vorhanden); %4 Ergebnisse übernommen, %5 Ergebnisse waren schon vorhanden.</source>
        <translation>Import finished: %1 locations added, %2 locations replaced, %3 locations skipped (ID already present); %4 results copied, %5 results were already present.</translation>
    </message>
    <message>
        <source>Zeile %1: %2 Felder, die Spaltenfolge braucht %3.</source>
        <translation>Line %1: %2 fields, the column order needs %3.</translation>
    </message>
    <message>
        <source>Zeile %1: die ID ist leer.</source>
        <translation>Line %1: the ID is empty.</translation>
    </message>
    <message>
        <source>Zeile %1: ein Anführungszeichen wird nicht geschlossen.</source>
        <translation>Line %1: a quotation mark is not closed.</translation>
    </message>
    <message>
        <source>... und %1 weitere Zeilen.</source>
        <translation>... and %1 more lines.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; konnte nicht gelesen werden.</source>
        <translation>The file &apos;%1&apos; could not be read.</translation>
    </message>
    <message>
        <source>Die Spaltenfolge muss die Spalte ID enthalten.</source>
        <translation>The column order must contain the column ID.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; ist eine Datendatei des Programms. Bitte wählen Sie eine andere Datei.</source>
        <translation>The file &apos;%1&apos; is one of the program&apos;s data files. Please choose another file.</translation>
    </message>
    <message>
        <source>Die Datei &apos;%1&apos; konnte nicht nach &apos;%2&apos; kopiert werden. Das Backup wurde nicht erstellt.</source>
        <translation>The file &apos;%1&apos; could not be copied to &apos;%2&apos;. The backup was not created.</translation>
    </message>
    <message>
        <source>Das unvollständige Backup-Verzeichnis &apos;%1&apos; wurde entfernt.</source>
        <translation>The incomplete backup folder &apos;%1&apos; was removed.</translation>
    </message>
    <message>
        <source>Das unvollständige Backup-Verzeichnis &apos;%1&apos; konnte nicht entfernt werden. Es ist kein gültiges Backup.</source>
        <translation>The incomplete backup folder &apos;%1&apos; could not be removed. It is not a valid backup.</translation>
    </message>
    <message>
        <source>Es gibt keine Datendatei, die gesichert werden könnte. Das Backup wurde nicht erstellt.</source>
        <translation>There is no data file to back up. The backup was not created.</translation>
    </message>
    <message>
        <source>Das Backup &apos;%1&apos; wird nicht wiederhergestellt, die Dateien bleiben unverändert: &apos;%2&apos; ist keine gültige Datendatei.</source>
        <translation>The backup &apos;%1&apos; is not restored and the files stay unchanged: &apos;%2&apos; is not a valid data file.</translation>
    </message>
    <message>
        <source>Das Backup &apos;%1&apos; wurde wiederhergestellt. Die ersetzten Dateien sind im Backup &apos;%2&apos; gesichert.</source>
        <translation>The backup &apos;%1&apos; was restored. The replaced files are kept in the backup &apos;%2&apos;.</translation>
    </message>
    <message>
        <source>Die aktuellen Dateien konnten nicht gesichert werden. Das Backup wird nicht wiederhergestellt, die Dateien bleiben unverändert.</source>
        <translation>The current files could not be backed up. The backup is not restored and the files stay unchanged.</translation>
    </message>
    <message>
        <source>Der Ort &apos;%1&apos; wurde exportiert, mit %2 Ergebnissen; %3 Ergebnisse waren schon in der Exportdatei.</source>
        <translation>The location &apos;%1&apos; was exported with %2 results; %3 results were already in the export file.</translation>
    </message>
    <message>
        <source>Der Ort &apos;%1&apos; wurde in der Maindatei nicht gefunden.</source>
        <translation>The location &apos;%1&apos; was not found in the main file.</translation>
    </message>
    <message>
        <source>Maindatei und Ergebnisdatei müssen verschiedene Dateien sein.</source>
        <translation>The main file and the result file must be different files.</translation>
    </message>
    <message>
        <source>Orte importieren</source>
        <translation>Import locations</translation>
    </message>
    <message>
        <source>XML Import</source>
        <translation>XML import</translation>
    </message>
    <message>
        <source>CSV Import</source>
        <translation>CSV import</translation>
    </message>
    <message>
        <source>Maindatei:</source>
        <translation>Main file:</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Semikolon</source>
        <translation>Semicolon</translation>
    </message>
    <message>
        <source>Komma</source>
        <translation>Comma</translation>
    </message>
    <message>
        <source>Leerzeichen</source>
        <translation>Blank</translation>
    </message>
    <message>
        <source>Andere</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>verfügbar:</source>
        <translation>available:</translation>
    </message>
    <message>
        <source>ausgewählt:</source>
        <translation>selected:</translation>
    </message>
    <message>
        <source>Importieren</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Trennzeichen</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Spaltenfolge</source>
        <translation>Column order</translation>
    </message>
    <message>
        <source>Orte Exportieren</source>
        <translation>Export locations</translation>
    </message>
    <message>
        <source>Exportieren</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Backup wiederherstellen</source>
        <translation>Restore backup</translation>
    </message>
    <message>
        <source>Backup:</source>
        <translation>Backup:</translation>
    </message>
    <message>
        <source>Maindatei</source>
        <translation>Main file</translation>
    </message>
    <message>
        <source>Ergebnisdatei</source>
        <translation>Result file</translation>
    </message>
    <message>
        <source>Nach oben</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Nach unten</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Orte suchen (Strg+F)</source>
        <translation>Search locations (Ctrl+F)</translation>
    </message>
    <message>
        <source>Verlauf %1, Ort %2</source>
        <translation>History %1, location %2</translation>
    </message>
    <message>
        <source>Keine Ergebnisse mit Messwerten.</source>
        <translation>No results with measured values.</translation>
    </message>
    <message>
        <source>Platz %1</source>
        <translation>Place %1</translation>
    </message>
    <message>
        <source>Oberschwingungsgehalt</source>
        <translation>Total harmonic content</translation>
    </message>
    <message>
        <source>%1 Ergebnisse vom %2 bis %3; ein Klick auf einen Punkt zeigt das Ergebnis.</source>
        <translation>%1 results from %2 to %3; click a point to show its result.</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Hinweise zur Verdrahtung</source>
        <translation>Wiring hints</translation>
    </message>
    <message>
        <source>Keine Auffälligkeiten: Stromrichtungen, Spannungen und Ströme aller Phasen und Spannungssymmetrie sind plausibel.</source>
        <translation>Nothing conspicuous: current directions, the voltages and currents of all phases and the voltage balance are plausible.</translation>
    </message>
    <message>
        <source>Strom L%1 vermutlich umgekehrt angeschlossen: P%1 = %2 ist negativ, die anderen Phasen positiv (%3).</source>
        <translation>Current L%1 probably connected reversed: P%1 = %2 is negative, the other phases positive (%3).</translation>
    </message>
    <message>
        <source>Spannung L%1 fehlt: U%1 = %2 liegt unter 5 % des Bereichs %3, die anderen Phasen nicht (%4).</source>
        <translation>Voltage L%1 missing: U%1 = %2 is below 5 % of the range %3, the other phases are not (%4).</translation>
    </message>
    <message>
        <source>Strom L%1 fehlt: I%1 = %2 liegt unter 5 % des Bereichs %3, die anderen Phasen nicht (%4).</source>
        <translation>Current L%1 missing: I%1 = %2 is below 5 % of the range %3, the other phases are not (%4).</translation>
    </message>
    <message>
        <source>Spannungsunsymmetrie %1 % (über 2 %): U1 = %2, U2 = %3, U3 = %4, Mittelwert %5.</source>
        <translation>Voltage unbalance %1 % (above 2 %): U1 = %2, U2 = %3, U3 = %4, mean %5.</translation>
    </message>
</context>
</TS>
