<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Dialogs</name>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>VeltaEditﾍﾙﾌﾟ</source>
        <translation>VeltaEdit Help</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟﾌｧｲﾙ %1 が見つかりません。</source>
        <translation>The help file %1 cannot be found.</translation>
    </message>
    <message>
        <source>ｴﾗｰ</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>StageFileReader</name>
    <message>
        <source>0～255の範囲にない残機数、難易度、背景、または種類があります。保存すると別の値になります。</source>
        <translation>Some starting lives, difficulty, background or kind lies outside 0 to 255. Saving will write another value.</translation>
    </message>
    <message>
        <source>保存できる範囲 (x が0以上、y が0～255) の外にあるｵﾌﾞｼﾞｪｸﾄか敵があります。保存すると失われます。</source>
        <translation>Some objects or enemies lie outside the range that can be saved (x from 0, y from 0 to 255). Saving will lose them.</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄが1024個を超えるｽﾃｰｼﾞがあります。超えた分は読み込んでいません。</source>
        <translation>A stage has more than 1024 objects. Those beyond were not read.</translation>
    </message>
    <message>
        <source>敵が64体を超えるｽﾃｰｼﾞがあります。超えた分は読み込んでいません。</source>
        <translation>A stage has more than 64 enemies. Those beyond were not read.</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄも敵も保存できないｽﾃｰｼﾞがあります。保存するとそのｽﾃｰｼﾞ(BGMと背景も)は失われます。</source>
        <translation>A stage has no object or enemy that can be saved. Saving will lose that stage (its music and background too).</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙが &quot;end;&quot; の行の前で終わっています。読めたところまでを開きました。</source>
        <translation>The file ends before its &quot;end;&quot; line. What could be read has been opened.</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞが36を超えています。37番目からは読み込んでいません。</source>
        <translation>The file has more than 36 stages. The 37th and those after it were not read.</translation>
    </message>
    <message>
        <source>the file ends too early</source>
        <translation>the file ends too early</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>&apos;%1&apos; is not a number</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About VeltaEdit</source>
        <translation>About VeltaEdit</translation>
    </message>
    <message>
        <source>Version 1.00</source>
        <translation>Version 1.00</translation>
    </message>
    <message>
        <source>&#x3000;さぁ、どんどんオリジナルステージを作りましょう。作ったステージの配布などについては自由ですが、詳しくはヘルプをご覧下さい。</source>
        <translation>Now go on and make stages of your own! You are free to hand out the stages you make; the help tells more.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Velta Stage Files(*.vtg);;All Files(*.*)</source>
        <translation>Velta Stage Files(*.vtg);;All Files(*.*)</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞ:</source>
        <translation>Stage:</translation>
    </message>
    <message>
        <source>編集するステージを選択します。＊印は編集されているという意味です。</source>
        <translation>Chooses the stage to edit. A &quot;*&quot; marks a stage that holds something.</translation>
    </message>
    <message>
        <source>ステージの先頭部分に飛びます。</source>
        <translation>Jumps to the start of the stage.</translation>
    </message>
    <message>
        <source>ステージの中央部分に飛びます。</source>
        <translation>Jumps to the middle of the stage.</translation>
    </message>
    <message>
        <source>ステージの最後に飛びます。</source>
        <translation>Jumps to the end of the stage.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞ(&amp;S)</source>
        <translation>&amp;Stage</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ(&amp;P)...</source>
        <translation>&amp;Properties...</translation>
    </message>
    <message>
        <source>消去(&amp;C)</source>
        <translation>&amp;Clear Stage</translation>
    </message>
    <message>
        <source>ﾃｽﾄﾌﾟﾚｲ(&amp;T)</source>
        <translation>&amp;Test Play</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>%1倍(&amp;%1)</source>
        <translation>Zoom &amp;%1x</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄ(&amp;O)</source>
        <translation>&amp;Objects</translation>
    </message>
    <message>
        <source>見えないｵﾌﾞｼﾞｪｸﾄの枠(&amp;F)</source>
        <translation>&amp;Frames of Unseen Objects</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>VeltaEditﾍﾙﾌﾟ(&amp;T)...</source>
        <translation>VeltaEdit &amp;Help...</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source>
        <translation>&amp;About VeltaEdit</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙを開けません:</source>
        <translation>Cannot open these files:</translation>
    </message>
    <message>
        <source>敵の定義ﾌｧｲﾙに整数でない値があります:</source>
        <translation>Enemy definition files hold values that are not integers:</translation>
    </message>
    <message>
        <source>&quot;%1&quot;
<byte value="xd"/>に変更を保存しますか?</source>
        <translation>Save the changes to &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>保存できる範囲 (x が0以上、y が0～255) の外にあるｵﾌﾞｼﾞｪｸﾄと敵が%1個あります。それらは保存されません。保存しますか?</source>
        <translation>%1 objects and enemies lie outside the range that can be saved (x from 0, y from 0 to 255). They will not be saved. Save?</translation>
    </message>
    <message>
        <source>ｲﾝｽﾄｰﾙされたｹﾞｰﾑのﾌｫﾙﾀﾞには保存できません。</source>
        <translation>Nothing can be saved in the folder of the installed game.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>このｺﾏﾝﾄﾞを実行するとこのｽﾃｰｼﾞのﾃﾞｰﾀは全て消去されます。よろしいですか？</source>
        <translation>This command erases everything in this stage. Go on?</translation>
    </message>
    <message>
        <source>表示 x=%1   ｶｰｿﾙ (%2, %3)</source>
        <translation>View x=%1   Cursor (%2, %3)</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄ %1</source>
        <translation>Object %1</translation>
    </message>
    <message>
        <source>敵 %1</source>
        <translation>Enemy %1</translation>
    </message>
    <message>
        <source>そのｵﾌﾞｼﾞｪｸﾄは配置できません。</source>
        <translation>That object cannot be placed.</translation>
    </message>
</context>
<context>
    <name>TObjectSelector</name>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄ</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>ﾏｯﾌﾟｵﾌﾞｼﾞｪｸﾄ</source>
        <translation>Map object</translation>
    </message>
    <message>
        <source>敵</source>
        <translation>Enemy</translation>
    </message>
    <message>
        <source>消しｺﾞﾑ</source>
        <translation>Eraser</translation>
    </message>
</context>
<context>
    <name>TStageProp</name>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>BGM:</source>
        <translation>Music:</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞで流れるBGMのMIDIを指定します。</source>
        <translation>The MIDI file of the music the stage plays.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ選択ﾀﾞｲｱﾛｸﾞを表示します。</source>
        <translation>Chooses the file in a file dialog.</translation>
    </message>
    <message>
        <source>指定されたBGMﾌｧｲﾙを試聴します。</source>
        <translation>Plays the given music file.</translation>
    </message>
    <message>
        <source>背景:</source>
        <translation>Sky:</translation>
    </message>
    <message>
        <source>昼</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>夜</source>
        <translation>Night</translation>
    </message>
    <message>
        <source>背景を選択します。</source>
        <translation>Chooses the background.</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞ:</source>
        <translation>Stage:</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ編集をするｽﾃｰｼﾞを選択します。</source>
        <translation>Chooses the stage whose properties are edited.</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Go</translation>
    </message>
    <message>
        <source>選択されたｽﾃｰｼﾞに移動します。</source>
        <translation>Shows the chosen stage in the main window.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ情報</source>
        <translation>The file</translation>
    </message>
    <message>
        <source>難易度:</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>Very easy</source>
        <translation>Very easy</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>Very hard</source>
        <translation>Very hard</translation>
    </message>
    <message>
        <source>このﾌｧｲﾙ全体の難易度を選択します。</source>
        <translation>Chooses the difficulty of the whole file.</translation>
    </message>
    <message>
        <source>残機数:</source>
        <translation>Lives:</translation>
    </message>
    <message>
        <source>最初の、ｲﾀﾝﾍの数です。</source>
        <translation>The number of lives at the start.</translation>
    </message>
    <message>
        <source>ﾒｯｾｰｼﾞ:</source>
        <translation>Cleared:</translation>
    </message>
    <message>
        <source>ｸﾘｱしたときに表示されるﾒｯｾｰｼﾞを入力します。</source>
        <translation>The message shown when the file is cleared.</translation>
    </message>
    <message>
        <source>作者:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞｾﾚｸﾄ時に表示される作者名を設定します。</source>
        <translation>The author&apos;s name shown in the stage selection.</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞｾﾚｸﾄ時に表示されるｺﾒﾝﾄです。</source>
        <translation>The comment shown in the stage selection.</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>MIDI Files(*.mid);;All Files(*.*)</source>
        <translation>MIDI Files(*.mid);;All Files(*.*)</translation>
    </message>
    <message>
        <source>指定されたﾌｧｲﾙは存在しません。</source>
        <translation>The given file does not exist.</translation>
    </message>
    <message>
        <source>ｴﾗｰ</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>TestPlay</name>
    <message>
        <source>このｽﾃｰｼﾞには何も配置されていません。</source>
        <translation>Nothing has been placed in this stage.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>ｹﾞｰﾑ本体の実行ﾌｧｲﾙvelta.exeを起動できません。</source>
        <translation>The game program velta cannot be started.</translation>
    </message>
    <message>
        <source>ｴﾗｰ</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
