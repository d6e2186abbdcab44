<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>Qarda</name>
    <message>
        <source>XML Datei konnte nicht gefunden werden: %1</source>
        <translation>XML file not found: %1</translation>
    </message>
</context>
</TS>
