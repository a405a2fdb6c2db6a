<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>Texts</name>
    <message>
        <source>%1 and %2 cannot be used together.</source>
        <translation>%1 e %2 não podem ser usadas juntas.</translation>
    </message>
    <message>
        <source>needs --query.</source>
        <translation>precisa de --query.</translation>
    </message>
    <message>
        <source>needs --query or --watch.</source>
        <translation>precisa de --query ou --watch.</translation>
    </message>
    <message>
        <source>needs --query, --watch or --find.</source>
        <translation>precisa de --query, --watch ou --find.</translation>
    </message>
    <message>
        <source>needs --find.</source>
        <translation>precisa de --find.</translation>
    </message>
    <message>
        <source>needs --watch.</source>
        <translation>precisa de --watch.</translation>
    </message>
    <message>
        <source>cannot be used with --find or --list: --find tries settings of its own.</source>
        <translation>não pode ser usada com --find nem com --list: --find tenta configurações próprias.</translation>
    </message>
    <message>
        <source>cannot be used with --list.</source>
        <translation>não pode ser usada com --list.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;; the port, settings and wait are given with --port, --config and --wait.</source>
        <translation>Argumento inesperado &apos;%1&apos;; a porta, a configuração e a espera são dadas com --port, --config e --wait.</translation>
    </message>
    <message>
        <source>%1 takes plain digits 0-9, %2, not &apos;%3&apos;.</source>
        <translation>%1 aceita só algarismos 0-9, %2, não &apos;%3&apos;.</translation>
    </message>
    <message>
        <source>from 0 to %1 ms</source>
        <translation>de 0 a %1 ms</translation>
    </message>
    <message>
        <source>from 1 to %1, or a device path</source>
        <translation>de 1 a %1, ou o caminho de um dispositivo</translation>
    </message>
    <message>
        <source>from 1 to %1</source>
        <translation>de 1 a %1</translation>
    </message>
    <message>
        <source>from 1 up</source>
        <translation>de 1 para cima</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;: long options take two dashes, as in --%2.</source>
        <translation>Opção desconhecida &apos;%1&apos;: as opções longas levam dois traços, como em --%2.</translation>
    </message>
    <message>
        <source>Try &apos;vardelmo --help&apos;.</source>
        <translation>Experimente &apos;vardelmo --help&apos;.</translation>
    </message>
    <message>
        <source>no display (DISPLAY): use --query</source>
        <translation>sem tela (DISPLAY): use --query</translation>
    </message>
    <message>
        <source>port %1</source>
        <translation>porta %1</translation>
    </message>
    <message>
        <source>port %1 (%2)</source>
        <translation>porta %1 (%2)</translation>
    </message>
    <message>
        <source>no reply within %1 ms on %2</source>
        <translation>sem resposta em %1 ms na %2</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>sem resposta em %1 ms</translation>
    </message>
    <message>
        <source>could not write to standard output</source>
        <translation>não foi possível escrever na saída padrão</translation>
    </message>
    <message>
        <source>%1 request</source>
        <translation>%1 pedido</translation>
    </message>
    <message>
        <source>%1 requests</source>
        <translation>%1 pedidos</translation>
    </message>
    <message>
        <source>%1 reading</source>
        <translation>%1 leitura</translation>
    </message>
    <message>
        <source>%1 readings</source>
        <translation>%1 leituras</translation>
    </message>
    <message>
        <source>%1 without reply</source>
        <translation>%1 sem resposta</translation>
    </message>
    <message>
        <source>%1 without reply</source>
        <comment>many</comment>
        <translation>%1 sem resposta</translation>
    </message>
    <message>
        <source>%1 failure</source>
        <translation>%1 falha</translation>
    </message>
    <message>
        <source>%1 failures</source>
        <translation>%1 falhas</translation>
    </message>
    <message>
        <source>; weight from %1 to %2 %3</source>
        <translation>; peso de %1 a %2 %3</translation>
    </message>
    <message>
        <source>; settled in %1 ms</source>
        <translation>; estabilizou em %1 ms</translation>
    </message>
    <message>
        <source>; still in motion at the end</source>
        <translation>; ainda em movimento no fim</translation>
    </message>
    <message>
        <source>no serial port is present.</source>
        <translation>nenhuma porta serial presente.</translation>
    </message>
    <message>
        <source>reply not recognized (%1): %2</source>
        <translation>resposta não reconhecida (%1): %2</translation>
    </message>
    <message>
        <source>Ask the scale once without a window and print its reply.</source>
        <translation>Pergunta à balança uma vez, sem janela, e escreve a resposta.</translation>
    </message>
    <message>
        <source>Try the line settings scales use until one gives a reading, and print it.</source>
        <translation>Tenta as configurações de linha que as balanças usam até uma dar leitura, e a escreve.</translation>
    </message>
    <message>
        <source>Ask the scale again and again, one timestamped line a request.</source>
        <translation>Pergunta à balança de novo e de novo, uma linha com a hora a cada pedido.</translation>
    </message>
    <message>
        <source>List the serial ports present, one a line.</source>
        <translation>Lista as portas seriais presentes, uma por linha.</translation>
    </message>
    <message>
        <source>The line settings, baud,parity,data,stop (default %1).</source>
        <translation>A configuração da linha, velocidade,paridade,dados,parada (padrão %1).</translation>
    </message>
    <message>
        <source>settings</source>
        <translation>config</translation>
    </message>
    <message>
        <source>Milliseconds between the enquiry and the read (default %1); with --find, the longest a try waits (default %2).</source>
        <translation>Milissegundos entre a pergunta e a leitura (padrão %1); com --find, o máximo que uma tentativa espera (padrão %2).</translation>
    </message>
    <message>
        <source>With --query or --watch: instead of a fixed wait, read until the reply reads as a weight or MS milliseconds pass.</source>
        <translation>Com --query ou --watch: em vez de uma espera fixa, lê até a resposta dar um peso ou passarem MS milissegundos.</translation>
    </message>
    <message>
        <source>With --query: write the reply&apos;s bytes unchanged.</source>
        <translation>Com --query: escreve os bytes da resposta sem mudança.</translation>
    </message>
    <message>
        <source>With --query or --watch: write the reply&apos;s bytes in hex.</source>
        <translation>Com --query ou --watch: escreve os bytes da resposta em hexadecimal.</translation>
    </message>
    <message>
        <source>With --query or --watch: write what the reply reads as, e.g. &quot;1,234 kg estável&quot;.</source>
        <translation>Com --query ou --watch: escreve o que a resposta diz, p. ex. &quot;1,234 kg estável&quot;.</translation>
    </message>
    <message>
        <source>With --query, --watch or --find: write one JSON object a request.</source>
        <translation>Com --query, --watch ou --find: escreve um objeto JSON por pedido.</translation>
    </message>
    <message>
        <source>With --watch: write a header line, then one CSV line a request.</source>
        <translation>Com --watch: escreve uma linha de cabeçalho e depois uma linha CSV por pedido.</translation>
    </message>
    <message>
        <source>With --find: try every settings text, not only up to the first that gives a reading.</source>
        <translation>Com --find: tenta todas as configurações, não só até a primeira que dá leitura.</translation>
    </message>
    <message>
        <source>With --watch: milliseconds from start to start (default 500).</source>
        <translation>Com --watch: milissegundos de início a início (padrão 500).</translation>
    </message>
    <message>
        <source>With --watch: stop after N requests (default: never).</source>
        <translation>Com --watch: para depois de N pedidos (padrão: nunca).</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Mostra esta ajuda e sai.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Mostra a versão e sai.</translation>
    </message>
    <message>
        <source>Asks a weighing scale on a serial port for its weight: in a window, or without one
with --query (once), --watch (again and again) or --find (the settings). Without
them, --port, --config and --wait fill in the window&apos;s fields.

Exit status: 0 a reply (that reads, with --reading), 1 a failure, 2 a command
line refused, 3 a reply that does not read (--reading) or settings found for
frames of no known family (--find), 4 no reply within the wait.</source>
        <translation>Pergunta o peso a uma balança numa porta serial: numa janela, ou sem ela
com --query (uma vez), --watch (de novo e de novo) ou --find (a configuração). Sem
elas, --port, --config e --wait preenchem os campos da janela.

Estado de saída: 0 uma resposta (que dá peso, com --reading), 1 uma falha, 2 uma linha
de comando recusada, 3 uma resposta que não dá peso (--reading) ou a configuração
achada para quadros de família desconhecida (--find), 4 nenhuma resposta dentro da
espera.</translation>
    </message>
    <message>
        <source>With --query, --watch or --find: the bytes to send instead of ENQ, spelled as a reply is, e.g. P, &quot;&lt;EOT&gt;&quot;, &quot;{RW}&quot;, &quot;&lt;ENQ&gt;D05&quot;; &apos;&apos; sends nothing and only listens (default &lt;ENQ&gt;).</source>
        <translation>Com --query, --watch ou --find: os bytes a enviar em vez de ENQ, escritos como uma resposta é escrita, p. ex. P, &quot;&lt;EOT&gt;&quot;, &quot;{RW}&quot;, &quot;&lt;ENQ&gt;D05&quot;; &apos;&apos; não envia nada e só escuta (padrão &lt;ENQ&gt;).</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>bytes</translation>
    </message>
    <message>
        <source>--request &apos;%1&apos; does not spell bytes: %2.</source>
        <translation>--request &apos;%1&apos; não escreve bytes: %2.</translation>
    </message>
    <message>
        <source>--find cannot search the settings through a raw socket (socket://): the server&apos;s own settings hold. Use rfc2217:// if the server speaks RFC 2217.</source>
        <translation>--find não pode procurar a configuração por um socket simples (socket://): vale a configuração do próprio servidor. Use rfc2217:// se o servidor fala RFC 2217.</translation>
    </message>
    <message>
        <source>--port: %1</source>
        <translation>--port: %1</translation>
    </message>
    <message>
        <source>The port number, a device path, or a serial device server&apos;s address: socket://HOST:PORT or rfc2217://HOST:PORT (default %1).</source>
        <translation>O número da porta, o caminho de um dispositivo, ou o endereço de um servidor serial: socket://HOST:PORTA ou rfc2217://HOST:PORTA (padrão %1).</translation>
    </message>
</context>
</TS>
