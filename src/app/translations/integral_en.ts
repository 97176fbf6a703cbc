<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Form1</name>
    <message>
        <source>Ｉｎｔｅｇｒａｌ　　　　　　　　　　　　　　　　　　　</source>
        <translation>Integral</translation>
    </message>
    <message>
        <source>関数を選ぶ      Graph をクリック      Initial に入力Enter   Finalに入力Enter   黄色ボタンをクリック</source>
        <translation>Choose a function      Click Graph      Type Initial, press Enter   Type Final, press Enter   Click a yellow button</translation>
    </message>
    <message>
        <source>MonteCarlo では Max y を指定せよ</source>
        <translation>For MonteCarlo, set Max y</translation>
    </message>
</context>
</TS>
