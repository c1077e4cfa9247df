// Stand-in DNS client: a dnsapi.dll with the two calls kavlo.exe makes,
// DnsQuery_A and DnsFree, for Wine sessions whose own dnsapi fails every PTR
// answer with 9502.
//
// DnsQuery_A asks the system's first IPv4 DNS server (resolv.conf, or the
// first of aipServers) over UDP, two tries of two seconds, and returns the
// answer section's A, PTR and CNAME records, each one heap block with its
// names. Results: 0; 9000 + the server's RCODE (9003: no such name); 9501 no
// answer records; 1460 no answer; 9502 a malformed answer; 9852 no server;
// 123 a name that cannot be sent.
#include <winsock2.h>
#include <windows.h>
#include <windns.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kPacketSize = 512;  // UDP answers without EDNS
constexpr int kLongestName = 255;
constexpr DWORD kWaitMs = 2000;
constexpr int kTries = 2;
constexpr WORD kTypeA = 1, kTypeCname = 5, kTypePtr = 12;

struct Packet {
    const unsigned char* data;
    int size;
};

int Word(const unsigned char* p) { return (p[0] << 8) | p[1]; }

// Appends the name in wire form; false when a label is empty, longer than 63
// or the whole name longer than 255 bytes.
bool EncodeName(const char* name, unsigned char* out, int& length)
{
    const int start = length;
    while (*name != '\0') {
        const char* dot = std::strchr(name, '.');
        const int label = dot != nullptr ? static_cast<int>(dot - name) : static_cast<int>(std::strlen(name));
        if (label == 0 || label > 63 || length - start + label + 2 > kLongestName)
            return false;
        out[length++] = static_cast<unsigned char>(label);
        std::memcpy(out + length, name, label);
        length += label;
        name += label;
        if (*name == '.')
            ++name;
    }
    out[length++] = 0;
    return true;
}

// Reads the name at offset into text as dotted labels; next is the offset
// after the name where it started. A compression pointer must lead before
// every byte of the name read so far, so that the jumps cannot loop. False
// for a malformed name.
bool ReadName(const Packet& packet, int offset, char (&text)[kLongestName + 1], int& next)
{
    int length = 0, lowest = offset;
    next = -1;
    for (;;) {
        if (offset >= packet.size)
            return false;
        const int label = packet.data[offset];
        if ((label & 0xC0) == 0xC0) {
            if (offset + 1 >= packet.size)
                return false;
            const int target = ((label & 0x3F) << 8) | packet.data[offset + 1];
            if (next < 0)
                next = offset + 2;
            if (target >= lowest)
                return false;
            offset = lowest = target;
            continue;
        }
        if ((label & 0xC0) != 0 || offset + 1 + label > packet.size)
            return false;
        if (label == 0)
            break;
        if (length + (length > 0) + label > kLongestName)
            return false;
        if (length > 0)
            text[length++] = '.';
        std::memcpy(text + length, packet.data + offset + 1, label);
        length += label;
        offset += 1 + label;
    }
    text[length] = '\0';
    if (next < 0)
        next = offset + 1;
    return true;
}

// One record in one heap block: the record, then its owner name, then the
// name it points to (PTR, CNAME).
PDNS_RECORDA NewRecord(const char* owner, WORD type, DWORD ttl, const char* target)
{
    const size_t ownerSize = std::strlen(owner) + 1;
    const size_t targetSize = target != nullptr ? std::strlen(target) + 1 : 0;
    auto* record = static_cast<PDNS_RECORDA>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(DNS_RECORDA) + ownerSize + targetSize));
    if (record == nullptr)
        return nullptr;
    char* names = reinterpret_cast<char*>(record + 1);
    std::memcpy(names, owner, ownerSize);
    record->pName = names;
    record->wType = type;
    record->Flags.S.Section = DnsSectionAnswer;
    record->Flags.S.CharSet = DnsCharSetAnsi;
    record->dwTtl = ttl;
    if (target != nullptr) {
        std::memcpy(names + ownerSize, target, targetSize);
        record->Data.PTR.pNameHost = names + ownerSize;
        record->wDataLength = sizeof(DNS_PTR_DATAA);
    }
    return record;
}

void FreeList(PDNS_RECORDA record)
{
    while (record != nullptr) {
        PDNS_RECORDA next = record->pNext;
        HeapFree(GetProcessHeap(), 0, record);
        record = next;
    }
}

DNS_STATUS ParseAnswer(const Packet& packet, WORD id, PDNS_RECORDA& list)
{
    const unsigned char* p = packet.data;
    if (packet.size < 12 || Word(p) != id || (p[2] & 0x80) == 0)
        return DNS_ERROR_BAD_PACKET;
    if ((p[3] & 0x0F) != 0)
        return DNS_ERROR_RESPONSE_CODES_BASE + (p[3] & 0x0F);
    const int questions = Word(p + 4), answers = Word(p + 6);
    char owner[kLongestName + 1], target[kLongestName + 1];
    int offset = 12;
    for (int i = 0; i < questions; ++i) {
        if (!ReadName(packet, offset, owner, offset) || offset + 4 > packet.size)
            return DNS_ERROR_BAD_PACKET;
        offset += 4;
    }
    PDNS_RECORDA* tail = &list;
    for (int i = 0; i < answers; ++i) {
        if (!ReadName(packet, offset, owner, offset) || offset + 10 > packet.size)
            return DNS_ERROR_BAD_PACKET;
        const WORD type = static_cast<WORD>(Word(p + offset));
        const DWORD ttl = (static_cast<DWORD>(Word(p + offset + 4)) << 16) | Word(p + offset + 6);
        const int dataLength = Word(p + offset + 8);
        const int data = offset + 10;
        if (data + dataLength > packet.size)
            return DNS_ERROR_BAD_PACKET;
        offset = data + dataLength;
        PDNS_RECORDA record = nullptr;
        int end = 0;
        if (type == kTypeA) {
            if (dataLength != 4)
                return DNS_ERROR_BAD_PACKET;
            if ((record = NewRecord(owner, type, ttl, nullptr)) != nullptr) {
                std::memcpy(&record->Data.A.IpAddress, p + data, 4);
                record->wDataLength = sizeof(DNS_A_DATA);
            }
        } else if (type == kTypePtr || type == kTypeCname) {
            if (!ReadName(packet, data, target, end) || end != offset)
                return DNS_ERROR_BAD_PACKET;
            record = NewRecord(owner, type, ttl, target);
        } else {
            continue;
        }
        if (record == nullptr)
            return ERROR_NOT_ENOUGH_MEMORY;
        *tail = record;
        tail = &record->pNext;
    }
    return list != nullptr ? 0 : DNS_INFO_NO_RECORDS;
}

// The first IPv4 "nameserver" of the Unix system's resolv.conf (the one Wine
// itself reads), in network order; 0 when there is none. Not through
// GetNetworkParams: Wine's iphlpapi asks dnsapi's DnsQueryConfig for it.
ULONG SystemDnsServer()
{
    FILE* file = std::fopen("Z:\\etc\\resolv.conf", "r");
    if (file == nullptr)
        return 0;
    ULONG server = 0;
    char line[256], address[16];
    while (server == 0 && std::fgets(line, sizeof(line), file) != nullptr) {
        if (std::sscanf(line, " nameserver %15[0-9.]", address) == 1) {
            const ULONG parsed = inet_addr(address);
            if (parsed != INADDR_NONE && parsed != 0)
                server = parsed;
        }
    }
    std::fclose(file);
    return server;
}

DNS_STATUS Exchange(ULONG server, const unsigned char* query, int queryLength, WORD id, PDNS_RECORDA& list)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return WSAGetLastError();
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(53);
    to.sin_addr.s_addr = server;
    DNS_STATUS status = ERROR_TIMEOUT;
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof(to)) != 0)
        status = WSAGetLastError();
    for (int attempt = 0; attempt < kTries && status == ERROR_TIMEOUT; ++attempt) {
        if (send(s, reinterpret_cast<const char*>(query), queryLength, 0) != queryLength) {
            status = WSAGetLastError();
            break;
        }
        const DWORD start = GetTickCount();
        for (DWORD waited = 0; waited < kWaitMs && status == ERROR_TIMEOUT; waited = GetTickCount() - start) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(s, &readable);
            timeval wait = {static_cast<long>((kWaitMs - waited) / 1000),
                            static_cast<long>((kWaitMs - waited) % 1000 * 1000)};
            if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
                break;
            unsigned char answer[kPacketSize];
            const int received = recv(s, reinterpret_cast<char*>(answer), sizeof(answer), 0);
            // A stray datagram (another id, an ICMP error) is not the answer.
            if (received >= 2 && Word(answer) == id) {
                status = ParseAnswer(Packet{answer, received}, id, list);
                if (status != 0) {
                    FreeList(list);
                    list = nullptr;
                }
            }
        }
    }
    closesocket(s);
    return status;
}

}  // namespace

extern "C" {

__declspec(dllexport) DNS_STATUS WINAPI DnsQuery_A(PCSTR name, WORD type, DWORD, PIP4_ARRAY servers,
                                                   PDNS_RECORD* results, PVOID*)
{
    if (results == nullptr)
        return ERROR_INVALID_PARAMETER;
    *results = nullptr;
    unsigned char query[12 + kLongestName + 1 + 4] = {};
    const WORD id = static_cast<WORD>(GetTickCount() ^ GetCurrentThreadId());
    query[0] = static_cast<unsigned char>(id >> 8);
    query[1] = static_cast<unsigned char>(id);
    query[2] = 0x01;  // recursion desired
    query[5] = 1;     // one question
    int length = 12;
    if (name == nullptr || !EncodeName(name, query, length))
        return ERROR_INVALID_NAME;
    query[length++] = static_cast<unsigned char>(type >> 8);
    query[length++] = static_cast<unsigned char>(type);
    query[length++] = 0;
    query[length++] = 1;  // class IN
    const ULONG server = servers != nullptr && servers->AddrCount > 0 ? servers->AddrArray[0] : SystemDnsServer();
    if (server == 0)
        return DNS_ERROR_NO_DNS_SERVERS;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return WSAGetLastError();
    PDNS_RECORDA list = nullptr;
    const DNS_STATUS status = Exchange(server, query, length, id, list);
    WSACleanup();
    *results = reinterpret_cast<PDNS_RECORD>(list);
    return status;
}

__declspec(dllexport) VOID WINAPI DnsFree(PVOID data, DNS_FREE_TYPE type)
{
    if (type == DnsFreeRecordList)
        FreeList(static_cast<PDNS_RECORDA>(data));
    else if (data != nullptr)
        HeapFree(GetProcessHeap(), 0, data);
}

}  // extern "C"
